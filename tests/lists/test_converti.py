"""bviban-cli converti on real files that each test makes itself: every output row and column
is checked, against Python's own csv module and openpyxl, and an IBAN computed here from the
published CIN and MOD 97-10 rules."""

import csv
import datetime
import io
import os
import random
import resource
import signal
import subprocess
import tempfile
import threading
import time
import unittest
import zipfile

import openpyxl

CLI = os.environ["BVIBAN_CLI"]
# The Windows program under Wine: POSIX signals, FIFOs, file modes and owners and /dev/full are
# not its world, and a limit on its memory would bind Wine's own.
UNDER_WINE = os.environ.get("BVIBAN_CLI_UNDER_WINE") == "1"
# AddressSanitizer reserves terabytes of address space for its shadow memory: a limit on the
# program's data would stop it before main().
SANITIZED = os.environ.get("BVIBAN_SANITIZED") == "1"
BOM = "\ufeff"

# The CIN's odd-position values by character index (digits 0-9, letters A-Z 0-25).
ODD = [1, 0, 5, 7, 9, 13, 15, 17, 19, 21, 2, 4, 18, 20, 11, 3, 6, 8, 12, 14, 16, 10, 22, 25,
       24, 23]


def iban(abi, cab, conto):
    """The Italian IBAN of the coordinates as a user types them, zeros restored."""
    kept = "".join(c for c in conto.upper() if c.isascii() and c.isalnum())
    bban = abi.zfill(5) + cab.zfill(5) + kept.zfill(12)
    index = [int(c) if c.isdigit() else ord(c) - ord("A") for c in bban]
    cin = chr(ord("A") + sum(ODD[v] if k % 2 == 0 else v for k, v in enumerate(index)) % 26)
    digits = "".join(str(int(c, 36)) for c in cin + bban + "IT00")
    return "IT%02d" % (98 - int(digits) % 97) + cin + bban


# Some lists hold cells of megabytes.
csv.field_size_limit(1 << 30)

def run(*args, stdin=None):
    return subprocess.run([CLI, "converti", *args], input=stdin, capture_output=True,
                          timeout=120)


def run_within(megabytes, *args):
    """run() with the program's data (heap and all writable memory) limited: an allocation
    beyond the limit fails, and the program says "Memoria insufficiente"."""
    def limit():
        size = megabytes * 1024 * 1024
        resource.setrlimit(resource.RLIMIT_DATA, (size, size))
    return subprocess.run([CLI, "converti", *args], capture_output=True, timeout=120,
                          preexec_fn=None if SANITIZED or UNDER_WINE else limit)


def read_bytes(path):
    with open(path, "rb") as f:
        return f.read()


def read_csv(path, separator, encoding="utf-8-sig"):
    with open(path, newline="", encoding=encoding) as f:
        return list(csv.reader(f, delimiter=separator))


MAIN = "http://schemas.openxmlformats.org/spreadsheetml/2006/main"
RELATIONS = "http://schemas.openxmlformats.org/officeDocument/2006/relationships"
INLINE = '<c r="%s" t="inlineStr"><is><t>%s</t></is></c>'
ODS_NAMESPACES = (
    'xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0" '
    'xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0" '
    'xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0" '
    'xmlns:calcext="urn:org:documentfoundation:names:experimental:calc:xmlns:calcext:1.0"')


def write_xlsx(path, sheet_data, prologue="", strings=None, sheet=None):
    """A workbook by hand: one sheet whose <sheetData> holds `sheet_data`; `strings`, the
    <si> elements of a shared-strings part (text, or pieces of it written one after the other);
    `sheet`, the sheet's whole part instead (bytes, or text written as UTF-8)."""
    with zipfile.ZipFile(path, "w", zipfile.ZIP_DEFLATED, compresslevel=1) as xlsx:
        xlsx.writestr("xl/workbook.xml", '<workbook xmlns="%s" xmlns:r="%s"><sheets><sheet '
                      'name="Foglio1" sheetId="1" r:id="rId1"/></sheets></workbook>'
                      % (MAIN, RELATIONS))
        shared = ""
        if strings is not None:
            with xlsx.open("xl/sharedStrings.xml", "w") as part:
                part.write(('<sst xmlns="%s">' % MAIN).encode())
                for piece in [strings] if isinstance(strings, str) else strings:
                    part.write(piece.encode())
                part.write(b"</sst>")
            shared = ('<Relationship Id="rId2" Type="%s/sharedStrings" Target="sharedStrings.'
                      'xml"/>' % RELATIONS)
        xlsx.writestr("xl/_rels/workbook.xml.rels", '<Relationships><Relationship Id="rId1" '
                      'Type="%s/worksheet" Target="worksheets/sheet1.xml"/>%s</Relationships>'
                      % (RELATIONS, shared))
        xlsx.writestr("xl/worksheets/sheet1.xml", sheet if sheet is not None else
                      '%s<worksheet xmlns="%s"><sheetData>%s</sheetData></worksheet>'
                      % (prologue, MAIN, sheet_data))
    return path


def write_ods(path, tables, manifest="", content=None):
    """An OpenDocument spreadsheet by hand: `tables` is the XML inside <office:spreadsheet>;
    `content`, the whole content.xml instead."""
    with zipfile.ZipFile(path, "w") as ods:
        ods.writestr("mimetype", "application/vnd.oasis.opendocument.spreadsheet")
        if manifest:
            ods.writestr("META-INF/manifest.xml", manifest)
        ods.writestr("content.xml", content or (
            '<?xml version="1.0" encoding="UTF-8"?><office:document-content %s><office:body>'
            '<office:spreadsheet>%s</office:spreadsheet></office:body></office:document-'
            'content>' % (ODS_NAMESPACES, tables)), zipfile.ZIP_DEFLATED)
    return path


def ods_row(*cells, repeat=1):
    """A row of string cells; a cell given as (text, n) is repeated n times."""
    xml = ""
    for cell in cells:
        text, times = cell if isinstance(cell, tuple) else (cell, 1)
        xml += ('<table:table-cell table:number-columns-repeated="%d" office:value-type='
                '"string"><text:p>%s</text:p></table:table-cell>' % (times, text))
    return '<table:table-row table:number-rows-repeated="%d">%s</table:table-row>' % (repeat, xml)


def claim_size(path, part, size, field="size"):
    """Makes the zip's headers (local and central) claim `size` bytes for `part`, or another
    checksum with field="crc"."""
    data = bytearray(read_bytes(path))
    name = part.encode()
    local, central = {"size": (22, 24), "crc": (14, 16)}[field]
    for signature, name_length, name_at, size_at in ((b"PK\x03\x04", 26, 30, local),
                                                     (b"PK\x01\x02", 28, 46, central)):
        at = data.find(signature)
        while at >= 0:
            length = int.from_bytes(data[at + name_length:at + name_length + 2], "little")
            if data[at + name_at:at + name_at + length] == name:
                data[at + size_at:at + size_at + 4] = size.to_bytes(4, "little")
            at = data.find(signature, at + 4)
    with open(path, "wb") as f:
        f.write(data)


class Folder(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.TemporaryDirectory(prefix="bviban-lists-")
        self.dir = self.folder.name

    def tearDown(self):
        self.folder.cleanup()

    def path(self, name):
        return os.path.join(self.dir, name)

    def write(self, name, data):
        with open(self.path(name), "wb") as f:
            f.write(data)
        return self.path(name)

    def leftovers(self):
        return sorted(os.listdir(self.dir))


# Each text case: file name, bytes, the rows as they should come back (each row's own fields,
# then the added columns), separator and line end of the output, and the exit status.
WINDOWS_1252 = (
    "Nome;ABI;CAB;Conto\r\n"
    "Caffè Rossi € 1;5428;11101;123456\r\n"
    "SociÃ©tÃ©;1234;987;ab-12 345\r\n"
    "Perché;03069;09400;CC 1000/57\r\n").encode("cp1252")
UNICODE_TEXT = (BOM + "Fornitore\tIBAN\r\n"
                "Città del Sole\tit60 x054 2811 1010 0000 0123 456\r\n"
                "Bianchi\tIT65A0542811101000000123456\r\n"
                "Verdi\tIT60X0542811101000000123457\r\n").encode("utf-16-le")
QUOTED = (b'Nome,ABI,CAB,Conto\n'
          b'"Rossi, Mario",05428,11101,"12""34"\n'
          b'"Via Roma 1\nMilano",1234,987,"ab-12 345"\n'
          b'Senza conto,1234,987,\n')
DROPPED_ZEROS = b"ABI;CAB;Conto\r\n5428;1101;123\r\n3069;9400;1000000\r\n1;1;1\r\n"
SHORT_AND_BLANK = (b"Elenco fornitori 2024\n\nABI|CAB|Conto\n\n5428\n||\n"
                   b"5428|11101|123456|extra\n7|7\n")

# UTF-8 with one line saved by another program in Windows-1252: only that line is read so.
MIXED = ("Nome;ABI;CAB;Conto\r\n".encode() + "Caffè € 1;5428;11101;123456\r\n".encode() +
         "Perché;1234;987;1\r\n".encode("cp1252") + "Città;3069;9400;2\r\n".encode())

TEXT_CASES = [
    ("windows1252.csv", WINDOWS_1252, [
        ["Nome", "ABI", "CAB", "Conto", "IBAN", "Esito"],
        ["Caffè Rossi € 1", "5428", "11101", "123456", iban("5428", "11101", "123456"), "OK"],
        # The whole file is Windows-1252: these bytes are not read as UTF-8 "é".
        ["SociÃ©tÃ©", "1234", "987", "ab-12 345", iban("1234", "987", "ab-12 345"), "OK"],
        ["Perché", "03069", "09400", "CC 1000/57", iban("3069", "9400", "CC100057"), "OK"],
    ], ";", b"\r\n", 0),
    ("mista.csv", MIXED, [
        ["Nome", "ABI", "CAB", "Conto", "IBAN", "Esito"],
        ["Caffè € 1", "5428", "11101", "123456", iban("5428", "11101", "123456"), "OK"],
        ["Perché", "1234", "987", "1", iban("1234", "987", "1"), "OK"],
        ["Città", "3069", "9400", "2", iban("3069", "9400", "2"), "OK"],
    ], ";", b"\r\n", 0),
    ("unicode.txt", UNICODE_TEXT, [
        ["Fornitore", "IBAN", "Esito", "ABI", "CAB", "Conto"],
        ["Città del Sole", "it60 x054 2811 1010 0000 0123 456", "OK", "05428", "11101",
         "000000123456"],
        ["Bianchi", "IT65A0542811101000000123456",
         "Il CIN A non torna con ABI, CAB e conto, anche se le cifre di controllo tornano: "
         "probabilmente c'è un errore in ABI, CAB o nel conto.", "", "", ""],
        ["Verdi", "IT60X0542811101000000123457",
         "Né il CIN né le cifre di controllo tornano con ABI, CAB e conto: probabilmente c'è "
         "un errore di battitura in ABI, CAB o nel conto. Controlla i suggerimenti. Forse "
         "intendevi IT60X0542811101000000123456.", "", "", ""],
    ], "\t", b"\r\n", 1),
    ("quoted.csv", QUOTED, [
        ["Nome", "ABI", "CAB", "Conto", "IBAN", "Esito"],
        ["Rossi, Mario", "05428", "11101", '12"34', iban("5428", "11101", "1234"), "OK"],
        ["Via Roma 1\nMilano", "1234", "987", "ab-12 345", iban("1234", "987", "AB12345"),
         "OK"],
        ["Senza conto", "1234", "987", "", "", "Compilare ABI, CAB e Nr. del CONTO."],
    ], ",", b"\n", 1),
    ("zeros.csv", DROPPED_ZEROS, [
        ["ABI", "CAB", "Conto", "IBAN", "Esito"],
        ["5428", "1101", "123", iban("5428", "1101", "123"), "OK"],
        ["3069", "9400", "1000000", iban("3069", "9400", "1000000"), "OK"],
        ["1", "1", "1", iban("1", "1", "1"), "OK"],
    ], ";", b"\r\n", 0),
    # A row wider than the header (a note beside the table): every value under its title.
    ("short.csv", SHORT_AND_BLANK, [
        ["Elenco fornitori 2024"],
        [],
        ["ABI", "CAB", "Conto", "", "IBAN", "Esito"],
        [],
        ["5428", "", "", "", "", "Riga incompleta: mancano le colonne CAB e Conto."],
        ["", "", ""],
        ["5428", "11101", "123456", "extra", iban("5428", "11101", "123456"), "OK"],
        ["7", "7", "", "", "", "Riga incompleta: manca la colonna Conto."],
    ], "|", b"\n", 1),
]


# Through a pipe: each line of a Windows-1252 text is judged alone ("SociÃ©tÃ©" in
# Windows-1252 bytes is valid UTF-8 for "Société"); a row wider than the header has its extra
# cells after the added ones.
PIPED = {
    "windows1252.csv": [TEXT_CASES[0][2][0], TEXT_CASES[0][2][1],
                        ["Société"] + TEXT_CASES[0][2][2][1:], TEXT_CASES[0][2][3]],
    "short.csv": [
        ["Elenco fornitori 2024"],
        [],
        ["ABI", "CAB", "Conto", "IBAN", "Esito"],
        [],
        ["5428", "", "", "", "Riga incompleta: mancano le colonne CAB e Conto."],
        ["", "", ""],
        ["5428", "11101", "123456", iban("5428", "11101", "123456"), "OK", "extra"],
        ["7", "7", "", "", "Riga incompleta: manca la colonna Conto."],
    ],
}


class RealFiles(Folder):
    def test_text_files(self):
        for name, data, rows, separator, line_end, status in TEXT_CASES:
            with self.subTest(name):
                self.write(name, data)
                result = run(self.path(name))
                self.assertEqual(result.returncode, status, result.stderr.decode())
                stem, extension = os.path.splitext(name)
                output = self.path(stem + "-IBAN" + (".txt" if extension == ".txt" else ".csv"))
                raw = read_bytes(output)
                self.assertTrue(raw.startswith(b"\xef\xbb\xbf"))
                if line_end == b"\r\n":
                    self.assertNotIn(b"\n", raw.replace(b"\r\n", b""))
                else:
                    self.assertNotIn(b"\r", raw)
                self.assertEqual(read_csv(output, separator), rows)
                self.assertEqual(read_bytes(self.path(name)), data)  # input untouched
                summary = result.stderr.decode()
                self.assertIn("Righe lette: %d" % len(rows), summary)
                # Reasons are counted by kind, not by their text that names the row's digits.
                if name == "unicode.txt":
                    self.assertIn("2 × IBAN con cifre di controllo o CIN sbagliati", summary)
                if name == "mista.csv":
                    self.assertIn("Righe lette: 4 (righe di dati: 3; righe lette come "
                                  "Windows-1252: 3)", summary)
                # Read once, through a pipe, the rows are the same, but for what needs a
                # second reading.
                piped = run("-", stdin=data)
                self.assertEqual(list(csv.reader(io.StringIO(piped.stdout.decode(), newline=""),
                                                 delimiter=separator)), PIPED.get(name, rows))

    def test_xlsx_with_numbers(self):
        """Excel's numbers come back as their digits, zeros restored by the padding."""
        book = openpyxl.Workbook()
        sheet = book.active
        sheet.title = "Fornitori"
        sheet.append(["Nome", "ABI", "CAB", "Conto", "Importo", "Attivo"])
        sheet.append(["Rossi è", 5428, 11101, 123456, 12.5, True])
        sheet.append(["Bianchi", 3069, 9400, 123456789012, 1e20, False])
        sheet.append([])
        sheet.append(["Verdi", "05428", "11101", "CC-1234", None, None])
        second = book.create_sheet("Secondo")
        second.append(["IBAN"])
        second.append(["IT60X0542811101000000123456"])
        book.save(self.path("lista.xlsx"))

        result = run(self.path("lista.xlsx"))
        self.assertEqual(result.returncode, 0, result.stderr.decode())
        out = openpyxl.load_workbook(self.path("lista-IBAN.xlsx"))
        self.assertEqual(out.sheetnames, ["Fornitori"])
        cells = [[(c.value, c.data_type) for c in row] for row in out.active.iter_rows()]
        first, second_iban = iban("5428", "11101", "123456"), iban("3069", "9400", "123456789012")
        expected = [
            [("Nome", "s"), ("ABI", "s"), ("CAB", "s"), ("Conto", "s"), ("Importo", "s"),
             ("Attivo", "s"), ("IBAN", "s"), ("Esito", "s")],
            [("Rossi è", "s"), (5428, "n"), (11101, "n"), (123456, "n"), (12.5, "n"),
             (True, "b"), (first, "s"), ("OK", "s")],
            [("Bianchi", "s"), (3069, "n"), (9400, "n"), (123456789012, "n"), (1e20, "n"),
             (False, "b"), (second_iban, "s"), ("OK", "s")],
            [(None, "n")] * 8,
            [("Verdi", "s"), ("05428", "s"), ("11101", "s"), ("CC-1234", "s"), (None, "n"),
             (None, "n"), (iban("5428", "11101", "CC1234"), "s"), ("OK", "s")],
        ]
        self.assertEqual(cells, expected)
        # The added columns are text columns.
        self.assertEqual(out.active.column_dimensions["G"].number_format, "@")

        # As CSV: integer digits, never 5.428E+3; a decimal comma beside ";".
        result = run(self.path("lista.xlsx"), "-o", self.path("lista.csv"))
        self.assertEqual(result.returncode, 0, result.stderr.decode())
        self.assertEqual(read_csv(self.path("lista.csv"), ";"), [
            ["Nome", "ABI", "CAB", "Conto", "Importo", "Attivo", "IBAN", "Esito"],
            ["Rossi è", "5428", "11101", "123456", "12,5", "VERO", first, "OK"],
            ["Bianchi", "3069", "9400", "123456789012", "1" + "0" * 20, "FALSO", second_iban,
             "OK"],
            [],
            ["Verdi", "05428", "11101", "CC-1234", "", "", iban("5428", "11101", "CC1234"),
             "OK"],
        ])

        # Another sheet, by name or by number.
        for choice in ("Secondo", "2"):
            target = self.path("secondo-%s.csv" % choice)
            result = run(self.path("lista.xlsx"), "--foglio", choice, "-o", target)
            self.assertEqual(result.returncode, 0, result.stderr.decode())
            self.assertEqual(read_csv(target, ";"), [
                ["IBAN", "Esito", "ABI", "CAB", "Conto"],
                ["IT60X0542811101000000123456", "OK", "05428", "11101", "000000123456"]])
        result = run(self.path("lista.xlsx"), "--foglio", "Terzo", "-o", self.path("x.csv"))
        self.assertEqual(result.returncode, 2)
        self.assertIn("«Fornitori», «Secondo»", result.stderr.decode())

    def test_numbers_as_written(self):
        """A number's digits come back as the sheet holds them when they are the shortest text
        of its value; any other way of writing it is read as a number and written shortest."""
        numbers = [  # in the sheet, in the CSV
            ("8334.75", "8334,75"), ("0.05", "0,05"), ("-0.5", "-0,5"), ("-12", "-12"),
            ("0", "0"), ("-0", "0"), ("007", "7"), ("12.50", "12,5"), ("3.0", "3"),
            ("123456789012.345", "123456789012,345"), ("99999999999999.9", "99999999999999,9"),
            ("1234567890123.4567", "1234567890123,4568"), ("1234567890123456", "1234567890123456"),
            ("0.30000000000000004", "0,30000000000000004"), ("1e3", "1000"),
            ("2.5E-3", "0,0025"), ("0.000000000000001", "0,000000000000001"),
            ("1.2.3", "1.2.3"), ("-", "-"),
        ]
        header = ("ABI", "CAB", "Conto", "Importo")
        xlsx_rows = "".join(
            '<row><c t="inlineStr"><is><t>%s</t></is></c><c t="inlineStr"><is><t>%s</t></is></c>'
            '<c t="inlineStr"><is><t>%s</t></is></c><c t="inlineStr"><is><t>%s</t></is></c></row>'
            % header + "".join(
                '<row><c><v>5428</v></c><c><v>11101</v></c><c><v>%d</v></c><c><v>%s</v></c></row>'
                % (i + 1, text) for i, (text, _) in enumerate(numbers)))
        write_xlsx(self.path("numeri.xlsx"), xlsx_rows)
        ods_cell = ('<table:table-cell office:value-type="float" office:value="%s"><text:p>x'
                    '</text:p></table:table-cell>')
        write_ods(self.path("numeri.ods"), '<table:table table:name="Elenco">%s%s</table:table>'
                  % (ods_row(*header), "".join(
                      '<table:table-row>%s%s%s%s</table:table-row>' % (
                          ods_cell % "5428", ods_cell % "11101", ods_cell % (i + 1),
                          ods_cell % text) for i, (text, _) in enumerate(numbers))))
        for name in ("numeri.xlsx", "numeri.ods"):
            with self.subTest(name):
                target = self.path(name + ".csv")
                result = run(self.path(name), "-o", target)
                self.assertEqual(result.returncode, 0, result.stderr.decode())
                rows = read_csv(target, ";")
                self.assertEqual(rows[0], list(header) + ["IBAN", "Esito"])
                # A text that is no number is the cell's paragraph in .ods.
                shown = [written if written not in ("1.2.3", "-") or name.endswith("xlsx")
                         else "x" for _, written in numbers]
                self.assertEqual([row[:4] for row in rows[1:]],
                                 [["5428", "11101", str(i + 1), text]
                                  for i, text in enumerate(shown)])

    def test_xlsx_cells_out_of_order(self):
        """Each cell names its column: written in any order, each value stays in its column; its
        escaped characters are read back."""
        cell = INLINE
        # Office's escapes of UTF-16 values: a pair, lone halves, and what is no escape.
        note = "a_x000D_b_xD83D__xDE00_ _xDE00__xD83D__x_ _x005F_x005F_"
        write_xlsx(self.path("lista.xlsx"), '<row r="1">%s%s%s%s</row><row r="2">%s<c r="A2">'
                   '<v>5428</v></c>%s</row>' % (
                       cell % ("C1", "Conto"), cell % ("A1", "ABI"), cell % ("D1", "Note"),
                       cell % ("B1", "CAB"), cell % ("C2", "123456"),
                       cell % ("B2", "11101") + cell % ("D2", note)))
        target = self.path("lista.csv")
        result = run(self.path("lista.xlsx"), "-o", target)
        self.assertEqual(result.returncode, 0, result.stderr.decode())
        self.assertEqual(read_csv(target, ";"), [
            ["ABI", "CAB", "Conto", "Note", "IBAN", "Esito"],
            ["5428", "11101", "123456", "a\rb\U0001F600 \ufffd\ufffd_x_ _x005F_",
             iban("5428", "11101", "123456"), "OK"]])

    def test_long_rows_among_short_ones(self):
        """Rows of a megabyte and more, between short ones and at the end, come out whole and
        in their places, with the right IBAN beside each."""
        notes = ["n%d" % n for n in range(5000)]
        for n, size in ((3, 1), (4, 3 * 1024 * 1024), (2500, 600 * 1024), (4999, 2 * 1024 * 1024)):
            notes[n] = chr(ord("a") + n % 26) * size
        accounts = [str(100000 + n) for n in range(5000)]
        header = "".join(INLINE % (c + "1", t) for c, t in zip("ABCD", ("ABI", "CAB", "Conto", "Note")))
        write_xlsx(self.path("lunghe.xlsx"), '<row r="1">%s</row>' % header + "".join(
            '<row r="%d">%s<c r="B%d"><v>11101</v></c><c r="C%d"><v>%s</v></c>%s</row>' % (
                n + 2, INLINE % ("A%d" % (n + 2), "5428"), n + 2, n + 2, account,
                INLINE % ("D%d" % (n + 2), note))
            for n, (account, note) in enumerate(zip(accounts, notes))))
        target = self.path("lunghe.csv")
        result = run(self.path("lunghe.xlsx"), "-o", target)
        self.assertEqual(result.returncode, 0, result.stderr.decode())
        self.assertEqual(read_csv(target, ";")[1:], [
            ["5428", "11101", account, note, iban("5428", "11101", account), "OK"]
            for account, note in zip(accounts, notes)])

    def test_xml_as_offices_write_it(self):
        """The XML of a sheet as Excel, LibreOffice, Gnumeric and other writers put it: each
        way of writing the same text reads back as that text; a part spanning several blocks
        keeps every entity and character cut at a block's end."""
        good = "IT60X0542811101000000123456"
        cell = '<c r="%s" t="inlineStr"><is><t>%s</t></is></c>'

        def rows(a2, row='<row r="2">%s%s</row>'):
            return ('<row r="1">%s%s</row>' % (cell % ("A1", "Nome"), cell % ("B1", "IBAN")) +
                    row % (a2, cell % ("B2", good)))

        def sheet(data, start='<worksheet xmlns="%s">' % MAIN, end="</worksheet>"):
            return "%s<sheetData>%s</sheetData>%s" % (start, data, end)

        excel = sheet(
            rows('<c r="A2" s="0" t="s"><v>0</v></c>',
                 '<row r="2" spans="1:2" x14ac:dyDescent="0.25">%s%s</row>'),
            '<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\r\n<worksheet xmlns="%s" '
            'xmlns:r="%s" xmlns:mc="http://schemas.openxmlformats.org/markup-compatibility/'
            '2006" mc:Ignorable="x14ac" xmlns:x14ac="http://schemas.microsoft.com/office/'
            'spreadsheetml/2009/9/ac"><dimension ref="A1:B2"/>' % (MAIN, RELATIONS),
            '<pageMargins left="0.7" right="0.7"/></worksheet>')
        prefixed = ('<x:worksheet xmlns:x="%s"><x:sheetData>%s</x:sheetData></x:worksheet>'
                    % (MAIN, rows(cell % ("A2", "Bianchi")).replace("<", "<x:")
                       .replace("<x:/", "</x:")))
        gnumeric = ('\ufeff<?xml version="1.0" encoding="UTF-8"?>\n<worksheet xmlns="%s">\n'
                    '  <sheetData>\n    %s\n  </sheetData>\n</worksheet>\n' % (MAIN, rows(
                        '\n      <g:c r="A2" t="inlineStr"><g:is><g:t>Verdi</g:t></g:is></g:c>',
                        '<row r="2" xmlns:g="%s">%%s\n      %%s\n    </row>' % MAIN)))
        long_rows = "".join(
            '<row r="%d">%s%s</row>' % (n, cell % ("A%d" % n, "R&amp;D %d è€😀 &#233;\r\nx" % n),
                                       cell % ("B%d" % n, good)) for n in range(2, 6002))
        ods_cell = ('<table:table-cell office:value-type="string"%s><text:p>%s</text:p>'
                    '</table:table-cell>')

        def ods(a2):
            return '<table:table table:name="T">%s<table:table-row>%s%s</table:table-row>' \
                '</table:table>' % (ods_row("Nome", "IBAN"), a2, ods_cell % ("", good))

        # Start tags of the same bytes read alike, except where a value needs decoding or a
        # prefix stands for another namespace.
        alike = ('<table:table-cell office:value-type="string" office:string-value=%s>'
                 '<text:p>%s</text:p></table:table-cell>')
        alike_rows = "".join('<table:table-row%s>%s%s</table:table-row>' % (
            declared, alike % (value, shown), ods_cell % ("", good)) for declared, value, shown in [
                ("", '"Uno"', "no"), ("", '"Due&amp;Tre"', "no"),
                (' xmlns:office="urn:altro"', '"Quattro"', "Cinque"), ("", '"Sei"', "no"),
                ("", "'Sette \"otto\"'", "no"), ("", '"Otto\tNove"', "no")])
        renamed = (
            '<o:document-content xmlns:o="urn:oasis:names:tc:opendocument:xmlns:office:1.0" '
            'xmlns:t="urn:oasis:names:tc:opendocument:xmlns:table:1.0" xmlns:x="urn:oasis:'
            'names:tc:opendocument:xmlns:text:1.0"><o:body><o:spreadsheet>%s</o:spreadsheet>'
            '</o:body></o:document-content>' % ods(ods_cell % ("", "Neri")).replace(
                "table:", "t:").replace("text:", "x:").replace("office:", "o:"))
        cases = [
            ("Excel", write_xlsx(self.path("excel.xlsx"), "", sheet=excel, strings=(
                '<si><r><rPr><b/><sz val="11"/></rPr><t>Rossi</t></r><r><t xml:space='
                '"preserve"> &amp; figli</t></r><rPh sb="0" eb="1"><t>ロシ</t></rPh></si>')),
             ["Rossi & figli"]),
            ("prefixed elements", write_xlsx(self.path("sdk.xlsx"), "", sheet=prefixed),
             ["Bianchi"]),
            ("entities and references", write_xlsx(self.path("entita.xlsx"), rows(
                "<c r = 'A2' t='inlineStr' ><is><t>R&amp;D &lt;3&gt; &quot;sì&quot; "
                "&apos;n&apos; &#233;&#xE8;&#x1F600;</t></is></c>")),
             ['R&D <3> "sì" \'n\' éè😀']),
            ("CDATA, comments, instructions", write_xlsx(self.path("cdata.xlsx"), rows(
                '<c r="A2" t="inlineStr"><!-- nota --><is><t><![CDATA[a<b & c]]><?pi x?>d'
                '<!--x-->e</t></is></c>')), ["a<b & cde"]),
            ("line ends", write_xlsx(self.path("righe.xlsx"), rows(
                cell % ("A2", "uno\r\ndue\rtre&#13;&#10;quattro"))),
             ["uno\ndue\ntre\r\nquattro"]),
            ("Gnumeric", write_xlsx(self.path("gnumeric.xlsx"), "", sheet=gnumeric), ["Verdi"]),
            ("cells alike", write_xlsx(self.path("simili.xlsx"), '<row r="1">%s%s</row>' % (
                cell % ("A1", "Nome"), cell % ("B1", "IBAN")) + "".join(
                    '<row r="%d"><c r="A%d" t=%s><v>%s</v></c>%s</row>' % (
                        n, n, kind, value, cell % ("B%d" % n, good)) for n, kind, value in [
                        (2, '"s"', 0), (3, '"s"', 1), (4, '"&#115;"', 1), (5, "'s'", 0),
                        (6, '"n"', 7)]),
                strings="<si><t>Rossi</t></si><si><t>Bianchi</t></si>"),
             ["Rossi", "Bianchi", "Bianchi", "Rossi", "7"]),
            ("several blocks", write_xlsx(self.path("lungo.xlsx"), "", sheet=sheet(
                '<row r="1">%s%s</row>%s' % (cell % ("A1", "Nome"), cell % ("B1", "IBAN"),
                                             long_rows))),
             ["R&D %d è€😀 é\nx" % n for n in range(2, 6002)]),
            ("LibreOffice", write_ods(self.path("calc.ods"), ods(ods_cell % (
                ' calcext:value-type="string"', 'Via <text:span text:style-name="T1">Roma'
                '</text:span><text:s/>1'))), ["Via Roma 1"]),
            ("other prefixes", write_ods(self.path("prefissi.ods"), "", content=renamed),
             ["Neri"]),
            ("tags alike", write_ods(self.path("simili.ods"), '<table:table table:name="T">%s%s'
                                     '</table:table>' % (ods_row("Nome", "IBAN"), alike_rows)),
             ["Uno", "Due&Tre", "Cinque", "Sei", 'Sette "otto"', "Otto Nove"]),
            ("attribute values", write_ods(self.path("attributi.ods"), ods(ods_cell % (
                ' office:string-value="a&#10;b\tc\r\nd"', "non questo"))), ["a\nb c d"]),
        ]
        for name, workbook, texts in cases:
            with self.subTest(name):
                target = self.path(name + ".csv")
                result = run(workbook, "-o", target)
                self.assertEqual(result.returncode, 0, result.stderr.decode())
                self.assertEqual([row[:2] for row in read_csv(target, ";")[1:]],
                                 [[text, good] for text in texts])

    def test_office_cells(self):
        """What offices put in cells: error values, dates and times, repeated spaces, a note
        beside the table; from .xlsx (openpyxl) and .ods (LibreOffice's XML), to CSV and
        .xlsx."""
        book = openpyxl.Workbook()
        sheet = book.active
        sheet.title = "Elenco"
        sheet.append(["Nome", "ABI", "CAB", "Conto", "Data"])
        sheet.append(["Rossi", 5428, 11101, 123456, datetime.date(2024, 1, 1)])
        sheet.append(["#N/A", 1234, 987, 1, datetime.datetime(2024, 1, 1, 10, 30)])
        sheet.append(["Verdi", 3069, 9400, 2, "#DIV/0!", "nota a destra"])
        book.save(self.path("ufficio.xlsx"))
        cell = ('<table:table-cell office:value-type="%s" %s><text:p>%s</text:p>'
                '</table:table-cell>')
        write_ods(self.path("ufficio.ods"), '<table:table table:name="Elenco">%s%s%s%s'
                  '</table:table>' % (
                      ods_row("Nome", "ABI", "CAB", "Conto", "Data"),
                      '<table:table-row>%s%s</table:table-row>' % (
                          ods_row("Rossi", "5428", "11101", "123456")[17:-18],
                          cell % ("date", 'office:date-value="2024-01-01"', "01/01/24")),
                      '<table:table-row>%s%s</table:table-row>' % (
                          '<table:table-cell office:value-type="string" office:string-value="" '
                          'calcext:value-type="error"><text:p>#N/A</text:p></table:table-cell>' +
                          ods_row("1234", "987", "1")[17:-18],
                          cell % ("date", 'office:date-value="2024-01-01T10:30:00"', "10:30")),
                      '<table:table-row>%s%s%s</table:table-row>' % (
                          cell % ("string", "", 'Ve<text:s text:c="1500"/>rdi') +
                          ods_row("3069", "9400", "2")[17:-18],
                          '<table:table-cell office:value-type="float" office:value="0" '
                          'calcext:value-type="error"><text:p>#DIV/0!</text:p></table:table-cell>',
                          cell % ("string", "", "nota a destra"))))
        names = {"ufficio.xlsx": "Verdi", "ufficio.ods": "Ve" + " " * 1500 + "rdi"}
        for name, verdi in names.items():
            with self.subTest(name):
                target = self.path(name + ".csv")
                result = run(self.path(name), "-o", target)
                self.assertEqual(result.returncode, 0, result.stderr.decode())
                self.assertEqual(read_csv(target, ";"), [
                    ["Nome", "ABI", "CAB", "Conto", "Data", "", "IBAN", "Esito"],
                    ["Rossi", "5428", "11101", "123456", "01/01/2024", "",
                     iban("5428", "11101", "123456"), "OK"],
                    ["#N/A", "1234", "987", "1", "01/01/2024 10:30", "",
                     iban("1234", "987", "1"), "OK"],
                    [verdi, "3069", "9400", "2", "#DIV/0!", "nota a destra",
                     iban("3069", "9400", "2"), "OK"]])
                target = self.path(name + ".xlsx")
                result = run(self.path(name), "-o", target)
                self.assertEqual(result.returncode, 0, result.stderr.decode())
                out = openpyxl.load_workbook(target)
                self.assertEqual(out.sheetnames, ["Elenco"])
                rows = list(out.active.iter_rows())
                self.assertEqual([c.value for c in rows[0]],
                                 ["Nome", "ABI", "CAB", "Conto", "Data", None, "IBAN", "Esito"])
                self.assertEqual((rows[1][4].value, rows[1][4].number_format),
                                 (datetime.datetime(2024, 1, 1), "dd/mm/yyyy"))
                self.assertEqual((rows[2][4].value, rows[2][4].number_format),
                                 (datetime.datetime(2024, 1, 1, 10, 30), "dd/mm/yyyy hh:mm:ss"))
                self.assertEqual([str(c.value) for c in rows[3]][:6],
                                 [verdi, "3069", "9400", "2", "#DIV/0!", "nota a destra"])

    def test_blank_lines_before_the_header(self):
        """Megabytes of blank lines, or of empty fields, before the header: kept, in little
        memory."""
        for name, blank in (("vuote.csv", b"\n"), ("separatori.csv", b";;;;\n")):
            with self.subTest(name):
                # Megabytes matter only where memory is limited; under the sanitizers,
                # unlimited and ten times slower, a few make the same case.
                lines = (2 if SANITIZED else 50) * 1024 * 1024 // len(blank)
                self.write(name, blank * lines + b"ABI;CAB;Conto\n5428;11101;123456\n")
                result = run_within(64, self.path(name))
                self.assertEqual(result.returncode, 0, result.stderr.decode())
                with open(self.path(name[:-4] + "-IBAN.csv"), "rb") as output:
                    self.assertEqual(output.read(len(blank) + 3), b"\xef\xbb\xbf" + blank)
                    output.seek(-90, os.SEEK_END)
                    self.assertTrue(output.read().endswith(
                        b"\nABI;CAB;Conto;IBAN;Esito\n5428;11101;123456;"
                        b"IT60X0542811101000000123456;OK\n"))
                self.assertIn("Righe lette: %d (righe di dati: 1)" % (lines + 2),
                              result.stderr.decode().replace(".", ""))

    def test_claimed_size(self):
        """A 4 GB sheet claimed by a small workbook's zip headers: memory follows what is
        read."""
        rows = "".join('<row r="%d">%s</row>' % (i, INLINE % ("A%d" % i, "IT60X0542811101000000"
                                                                         "123456"))
                       for i in range(2, 3001))
        workbook = write_xlsx(self.path("bomba.xlsx"), '<row r="1">%s</row>%s'
                              % (INLINE % ("A1", "IBAN"), rows))
        claim_size(workbook, "xl/worksheets/sheet1.xml", 0xFFFFFFFE)
        result = run_within(64, workbook, "-o", self.path("bomba.csv"))
        self.assertEqual(result.returncode, 0, result.stderr.decode())
        self.assertEqual(len(read_csv(self.path("bomba.csv"), ";")), 3000)

    def test_ods(self):
        """LibreOffice's repeated rows and cells, paragraphs, dates, and a comment left out."""
        content = (
            '<?xml version="1.0" encoding="UTF-8"?>'
            '<office:document-content '
            'xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0" '
            'xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0" '
            'xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0">'
            '<office:body><office:spreadsheet><table:table table:name="Elenco">'
            '<table:table-row><table:table-cell office:value-type="string"><text:p>ABI</text:p>'
            '</table:table-cell><table:table-cell office:value-type="string"><text:p>CAB'
            '</text:p></table:table-cell><table:table-cell office:value-type="string"><text:p>'
            'Conto</text:p></table:table-cell><table:table-cell office:value-type="string">'
            '<text:p>Note</text:p></table:table-cell></table:table-row>'
            '<table:table-row table:number-rows-repeated="2">'
            '<table:table-cell office:value-type="float" office:value="5428"><text:p>5428'
            '</text:p></table:table-cell><table:table-cell office:value-type="float" '
            'office:value="11101"/><table:table-cell office:value-type="float" '
            'office:value="123456789012"><text:p>1,23457E+11</text:p></table:table-cell>'
            '<table:table-cell office:value-type="date" office:date-value="2024-03-01">'
            '<text:p>01/03/24</text:p></table:table-cell></table:table-row>'
            '<table:table-row table:number-rows-repeated="3"><table:table-cell '
            'table:number-columns-repeated="1024"/></table:table-row>'
            '<table:table-row><table:table-cell office:value-type="string"><text:p>7</text:p>'
            '</table:table-cell><table:table-cell table:number-columns-repeated="2" '
            'office:value-type="float" office:value="7"/><table:table-cell '
            'office:value-type="string"><office:annotation><text:p>commento</text:p>'
            '</office:annotation><text:p>Via Roma<text:s text:c="2"/>1</text:p>'
            '<text:p>Milano</text:p></table:table-cell>'
            '<table:table-cell table:number-columns-repeated="1020"/></table:table-row>'
            '<table:table-row table:number-rows-repeated="1048569"><table:table-cell '
            'table:number-columns-repeated="1024"/></table:table-row>'
            '</table:table></office:spreadsheet></office:body></office:document-content>')
        with zipfile.ZipFile(self.path("lista.ods"), "w") as ods:
            ods.writestr("mimetype", "application/vnd.oasis.opendocument.spreadsheet")
            ods.writestr("content.xml", content, zipfile.ZIP_DEFLATED)
        target = self.path("lista.csv")
        result = run(self.path("lista.ods"), "-o", target)
        self.assertEqual(result.returncode, 0, result.stderr.decode())
        row = ["5428", "11101", "123456789012", "01/03/2024", iban("5428", "11101",
                                                                   "123456789012"), "OK"]
        self.assertEqual(read_csv(target, ";"), [
            ["ABI", "CAB", "Conto", "Note", "IBAN", "Esito"], row, row, [], [], [],
            ["7", "7", "7", "Via Roma  1\nMilano", iban("7", "7", "7"), "OK"]])


    def test_ods_sheets(self):
        """The sheet by default, by name (a name of digits before the position) or by number,
        and a refusal naming the sheets there are."""
        def ods(name, tables):
            rows = "".join(
                '<table:table table:name="%s"><table:table-row><table:table-cell '
                'office:value-type="string"><text:p>IBAN</text:p></table:table-cell>'
                '</table:table-row><table:table-row><table:table-cell office:value-type='
                '"string"><text:p>%s</text:p></table:table-cell></table:table-row>'
                '</table:table>' % table for table in tables)
            with zipfile.ZipFile(self.path(name), "w") as z:
                z.writestr("mimetype", "application/vnd.oasis.opendocument.spreadsheet")
                z.writestr("content.xml", (
                    '<office:document-content '
                    'xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0" '
                    'xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0" '
                    'xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0"><office:body>'
                    '<office:spreadsheet>%s</office:spreadsheet></office:body>'
                    '</office:document-content>' % rows))
            return self.path(name)

        good, typo = "IT60X0542811101000000123456", "IT60X0542811101000000123465"
        fogli = ods("fogli.ods", [("Primo", good), ("Secondo", typo), ("1", "IT00")])
        vuoto = ods("vuoto.ods", [])
        cases = [
            ("first", [fogli], 0, good),
            ("by name", [fogli, "--foglio", "Secondo"], 1, typo),
            ("by number", [fogli, "--foglio", "2"], 1, typo),
            ("a name of digits", [fogli, "--foglio", "1"], 1, "IT00"),
            ("missing", [fogli, "--foglio", "Terzo"], 2, "«Primo», «Secondo», «1»"),
            ("no sheets", [vuoto], 2, "vuoto.ods non è un foglio di calcolo leggibile: non "
             "contiene fogli"),
        ]
        for name, args, status, expected in cases:
            with self.subTest(name):
                target = self.path("uscita-%s.csv" % name)
                result = run(*args, "-o", target)
                self.assertEqual(result.returncode, status, result.stderr.decode())
                if status == 2:
                    self.assertIn(expected, result.stderr.decode())
                    self.assertFalse(os.path.exists(target))
                else:
                    self.assertEqual([row[0] for row in read_csv(target, ";")],
                                     ["IBAN", expected])


class Refusals(Folder):
    """File-level failures: exit 2, a message naming the file, nothing left behind."""

    def lista(self):
        return self.write("lista.csv", b"ABI;CAB;Conto\n5428;11101;123456\n")

    def test_refusals(self):
        lista = self.lista()
        self.write("lista-IBAN.csv", b"gia qui")
        os.mkdir(self.path("sotto"))
        self.write("foto.csv", bytes(range(256)) * 4)
        with zipfile.ZipFile(self.path("archivio.xlsx"), "w") as z:
            z.writestr("leggimi.txt", "niente fogli")
        self.write("vuoto.csv", b"")
        self.write("sola-lettura.csv", b"tenuto")
        os.chmod(self.path("sola-lettura.csv"), 0o444)
        # Workbooks made to hurt: each is refused in a few megabytes of memory.
        self.write("cifrato.xlsx", b"\xd0\xcf\x11\xe0\xa1\xb1\x1a\xe1" + bytes(1024) +
                   "EncryptionInfo".encode("utf-16-le") + bytes(512))
        cifrato = write_ods(self.path("cifrato.ods"), "", manifest=(
            '<manifest:manifest xmlns:manifest="urn:oasis:names:tc:opendocument:xmlns:manifest'
            ':1.0"><manifest:file-entry manifest:full-path="content.xml"><manifest:encryption-'
            'data manifest:checksum-type="SHA1/1K"/></manifest:file-entry></manifest:manifest>'))
        laughs = write_xlsx(self.path("risate.xlsx"), "", prologue=(
            '<!DOCTYPE worksheet [<!ENTITY a "aaaaaaaaaa"><!ENTITY b "&a;&a;&a;&a;&a;&a;&a;">'
            ']>'))
        tag = write_xlsx(self.path("etichetta.xlsx"), '<row r="1"><c r="A1" t="%s"/></row>'
                         % ("x" * (17 * 1024 * 1024)))
        wide = write_ods(self.path("largo.ods"), '<table:table table:name="T">%s%s</table:table>'
                         % (ods_row("IBAN"), ods_row("x", ("IT00", 16384))))
        tall = write_ods(self.path("alto.ods"), '<table:table table:name="T">%s%s</table:table>'
                         % (ods_row("IBAN"), ods_row("IT00", repeat=1048576)))
        # XML that no office writes.
        def bad(name, sheet_data="", **parts):
            return write_xlsx(self.path(name + ".xlsx"), sheet_data, **parts)
        text = '<row r="1"><c r="A1" t="inlineStr"><is><t>%s</t></is></c></row>'
        damaged = bad("danneggiato", text % "IBAN")
        claim_size(damaged, "xl/worksheets/sheet1.xml", 12345, field="crc")
        not_utf8 = ('<worksheet xmlns="%s"><sheetData>' % MAIN).encode() + (
            text % "caff\xe8").encode("latin-1") + b"</sheetData></worksheet>"
        spaces = write_ods(self.path("spazi.ods"), '<table:table table:name="T">%s'
                           '<table:table-row><table:table-cell><text:p>a<text:s text:c='
                           '"100000000"/></text:p></table:table-cell></table:table-row>'
                           '</table:table>' % ods_row("IBAN"))
        # Long enough that the rows are read well ahead of their conversion: a failure on
        # either side stops the other.
        def rows(*texts):
            return "".join('<row r="%d"><c r="A%d" t="inlineStr"><is><t>%s</t></is></c></row>'
                           % (n, n, t) for n, t in enumerate(texts, 1))
        late_damage = bad("danno-tardivo", rows("IBAN", *["IT60X0542811101000000123456"] * 29999)
                          + '<row r="30001"><c r="A30001"></row></c>')
        no_columns = bad("senza-colonne", rows(*["x"] * 30000))
        cases = [
            ("output exists", [lista], "lista-IBAN.csv esiste già"),
            ("output is the input", [lista, "-o", self.path("sotto/../lista.csv")],
             "è il file d'ingresso stesso"),
            ("same file, overwrite asked", [lista, "-o", lista, "--sovrascrivi"],
             "è il file d'ingresso stesso"),
            ("missing file", [self.path("manca.csv")], "manca.csv non esiste"),
            ("binary data", [self.path("foto.csv")], "foto.csv non è una tabella"),
            ("zip without a workbook", [self.path("archivio.xlsx")],
             "archivio.xlsx non è un foglio di calcolo leggibile"),
            ("empty file", [self.path("vuoto.csv")], "vuoto.csv è vuoto"),
            ("a folder", [self.path("sotto")], "è una cartella"),
            ("full disk", [lista, "-o", "/dev/full"], "Il disco è pieno"),
            ("an extension it does not write", [lista, "-o", self.path("uscita.ods")],
             "Non so scrivere file .ods: il file di uscita %s deve finire in .csv, .tsv, .txt "
             "o .xlsx." % self.path("uscita.ods")),
            ("read-only output", [lista, "-o", self.path("sola-lettura.csv"), "--sovrascrivi"],
             "sola-lettura.csv è di sola lettura: non lo sovrascrivo."),
            ("password, .xlsx", [self.path("cifrato.xlsx")],
             "cifrato.xlsx è protetto da password: salvalo senza password e riprova."),
            ("password, .ods", [cifrato],
             "cifrato.ods è protetto da password: salvalo senza password e riprova."),
            ("entity bomb", [laughs], "dichiara un tipo di documento (DTD)"),
            ("huge start tag", [tag], "ha un elemento XML di oltre 16 MB"),
            ("repeat beyond the columns", [wide], "la cella B2 si ripete oltre le 16.384 colonne"),
            ("repeat beyond the rows", [tall],
             "la cella A2 si ripete oltre le 1.048.576 righe di un foglio"),
            ("repeated spaces", [spaces], "la cella A2 supera i 16 MB"),
            ("unterminated tag", [bad("aperto", sheet='<worksheet xmlns="%s"><sheetData><row '
                                                     'r="1"><c r="A1"' % MAIN)],
             "aperto.xlsx non è un foglio di calcolo leggibile (XML non valido nella parte "
             "xl/worksheets/sheet1.xml al byte 99"),
            ("crossed tags", [bad("incrociato", '<row r="1"><c r="A1"></row></c>')],
             "XML non valido nella parte xl/worksheets/sheet1.xml al byte 109"),
            ("undefined entity", [bad("entita", text % "&nbsp;")],
             "XML non valido nella parte xl/worksheets/sheet1.xml al byte 130"),
            ("reference to no character", [bad("surrogato", text % "a&#xD800;")],
             "XML non valido nella parte xl/worksheets/sheet1.xml al byte 131"),
            ("not UTF-8", [bad("latino", sheet=not_utf8)],
             "la parte xl/worksheets/sheet1.xml non è testo UTF-8 al byte 134"),
            ("deep nesting", [bad("annidato", "<a>" * 100000)],
             "annida gli elementi XML oltre 256 livelli"),
            ("attributes beyond memory", [bad("attributi", '<row r="1"%s/>' % "".join(
                ' a%d=""' % n for n in range(1025)))],
             "ha un elemento XML con oltre 1024 attributi"),
            ("namespaces beyond memory", [bad("prefissi", '<row r="1"%s><c%s/></row>' % tuple(
                "".join(' xmlns:%s%d="u"' % (p, n) for n in range(600)) for p in "pq"))],
             "dichiara oltre 1024 spazi dei nomi XML"),
            ("wrong checksum", [damaged], "la parte xl/worksheets/sheet1.xml è danneggiata"),
            ("damage after many rows", [late_damage],
             "XML non valido nella parte xl/worksheets/sheet1.xml al byte 2857882, dopo la "
             "riga 30000)"),
            ("no columns in a long sheet", [no_columns],
             "non trovo le colonne ABI, CAB e Conto né la colonna IBAN"),
        ]
        if UNDER_WINE:
            cases = [case for case in cases if case[0] != "full disk"]
        before = self.leftovers()
        for name, args, message in cases:
            with self.subTest(name):
                result = run_within(64, *args)
                self.assertEqual(result.returncode, 2)
                self.assertIn(message, result.stderr.decode())
                self.assertEqual(result.stdout, b"")
                self.assertEqual(self.leftovers(), before)
        self.assertEqual(read_bytes(self.path("lista-IBAN.csv")), b"gia qui")
        self.assertEqual(read_bytes(self.path("sola-lettura.csv")), b"tenuto")
        self.assertEqual(read_bytes(lista), b"ABI;CAB;Conto\n5428;11101;123456\n")
        self.assertEqual([n for n in os.listdir("/dev") if n.startswith(".full")], [])

    def test_shared_strings_beyond_their_limit(self):
        """The texts that cells share are the one table that grows with the workbook: past
        256 MB of them the file is refused, in memory bounded by that limit."""
        text = "<si><t>%s</t></si>" % ("a" * 16000000)
        workbook = write_xlsx(self.path("testi.xlsx"), '<row r="1"><c r="A1" t="s"><v>16</v>'
                              '</c></row>', strings=(text for _ in range(17)))
        result = run_within(448, workbook, "-o", self.path("testi.csv"))
        self.assertEqual(result.returncode, 2)
        self.assertIn("testi.xlsx ha più testi diversi di quanti ne so tenere (oltre "
                      "256 MB): salvalo come CSV e riprova.", result.stderr.decode())
        self.assertFalse(os.path.exists(self.path("testi.csv")))

    @unittest.skipIf(UNDER_WINE, "POSIX file modes and owners")
    def test_replaced_file_keeps_mode_and_owner(self):
        lista = self.lista()
        target = self.write("uscita.csv", b"vecchio")
        os.chmod(target, 0o640)
        owner = (65534, 65534) if os.geteuid() == 0 else (os.getuid(), os.getgid())
        os.chown(target, *owner)
        result = run(lista, "-o", target, "--sovrascrivi")
        self.assertEqual(result.returncode, 0, result.stderr.decode())
        self.assertEqual(read_csv(target, ";")[1][3:], [iban("5428", "11101", "123456"), "OK"])
        status = os.stat(target)
        self.assertEqual((status.st_mode & 0o777, status.st_uid, status.st_gid), (0o640, *owner))

    def test_columns_not_found(self):
        self.write("senza.csv", b"Banca;Filiale;Numero\n5428;11101;123456\n")
        result = run(self.path("senza.csv"))
        self.assertEqual(result.returncode, 2)
        error = result.stderr.decode()
        self.assertIn("«Banca», «Filiale», «Numero»", error)
        self.assertIn("--abi", error)
        # Named as the message says, it works.
        result = run(self.path("senza.csv"), "--abi", "Banca", "--cab", "2", "--conto",
                     "numero")
        self.assertEqual(result.returncode, 0, result.stderr.decode())
        self.assertEqual(read_csv(self.path("senza-IBAN.csv"), ";")[1][3:],
                         [iban("5428", "11101", "123456"), "OK"])

    @unittest.skipIf(UNDER_WINE, "POSIX signals and FIFOs")
    def test_interrupted(self):
        """A signal in any phase (waiting for a FIFO, reading a pipe, a workbook's shared
        strings, its sheet, an .ods table): the program ends by that signal and leaves no
        file; a second signal on the first does too."""
        rows = b"".join(b"%d;11101;%d\n" % (1000 + i % 9000, i) for i in range(20000))
        os.mkfifo(self.path("muta.csv"))
        os.mkfifo(self.path("silenziosa.csv"))
        strings = write_xlsx(self.path("testi.xlsx"), '<row><c t="s"><v>0</v></c></row>',
                             strings="<si><t>IBAN</t></si>" + "<si><t>x</t></si>" * 8000000)
        sheet = write_xlsx(self.path("righe.xlsx"), "<row>%s</row>" % INLINE % ("A1", "IBAN") +
                           '<row><c t="inlineStr"><is><t>x</t></is></c></row>' * 1048000)
        table = write_ods(self.path("righe.ods"), '<table:table table:name="T">%s%s'
                          '</table:table>' % (ods_row("IBAN"), ods_row("x") * 1048000))
        cases = [
            ("a pipe, SIGTERM", ["-"], [signal.SIGTERM]),
            ("a pipe, SIGINT", ["-"], [signal.SIGINT]),
            ("a FIFO nobody opens", [self.path("muta.csv")], [signal.SIGINT]),
            ("a FIFO that stays silent", [self.path("silenziosa.csv")], [signal.SIGINT]),
            ("shared strings", [strings], [signal.SIGINT]),
            ("a sheet's rows", [sheet], [signal.SIGINT]),
            ("an .ods table", [table], [signal.SIGINT]),
            ("a second signal", [sheet], [signal.SIGINT, signal.SIGINT]),
        ]
        before = self.leftovers()
        for name, args, signals in cases:
            with self.subTest(name):
                silent = os.open(self.path("silenziosa.csv"), os.O_RDWR)
                target = self.path("uscita" + os.path.splitext(args[0])[1].replace(".ods",
                                                                                   ".xlsx"))
                piped = args == ["-"]
                process = subprocess.Popen([CLI, "converti", *args, "-o", target],
                                           stdin=subprocess.PIPE if piped else None,
                                           stderr=subprocess.PIPE)
                if piped:
                    process.stdin.write(b"ABI;CAB;Conto\n" + rows)
                    process.stdin.flush()
                deadline = time.monotonic() + 30
                while not any(n.endswith(".tmp") for n in self.leftovers()):
                    self.assertLess(time.monotonic(), deadline)
                    if process.poll() is not None:
                        self.fail(process.stderr.read().decode())
                    time.sleep(0.01)
                time.sleep(0.2)  # well into the phase
                for sig in signals:
                    process.send_signal(sig)
                try:  # more rows, for the conversion to see the flag between them
                    if piped:
                        process.stdin.write(rows)
                        process.stdin.close()
                except BrokenPipeError:
                    pass  # it saw the flag and stopped reading
                error = process.stderr.read().decode()
                process.stderr.close()
                os.close(silent)
                self.assertEqual(process.wait(30), -signals[0], error)
                if len(signals) == 1:
                    self.assertIn("conversione interrotta: nessun file scritto.", error)
                self.assertEqual(self.leftovers(), before)


class Streams(Folder):
    def test_standard_streams(self):
        result = run("-", stdin=b"IBAN\nIT60X0542811101000000123456\n")
        self.assertEqual(result.returncode, 0, result.stderr.decode())
        # No byte order mark: that is for a file that Excel opens, not for a pipe.
        self.assertEqual(result.stdout.decode().splitlines(),
                         ["IBAN;Esito;ABI;CAB;Conto",
                          "IT60X0542811101000000123456;OK;05428;11101;000000123456"])
        self.assertIn("Risultato sullo standard output", result.stderr.decode())

    def test_closed_pipe_stops_the_work(self):
        """An endless list converted to a pipe that closes after its first line: the program
        stops at the first failed write, by SIGPIPE or, when that is ignored (or on Windows,
        which has no SIGPIPE), with exit 2."""
        for name, disposition, status in (
                ("SIGPIPE ignored", signal.SIG_IGN, 2),
                ("SIGPIPE", signal.SIG_DFL, 2 if UNDER_WINE else -signal.SIGPIPE)):
            with self.subTest(name):
                process = subprocess.Popen(
                    [CLI, "converti", "-", "-o", "-"], stdin=subprocess.PIPE,
                    stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                    preexec_fn=lambda d=disposition: signal.signal(signal.SIGPIPE, d))

                def endless():
                    try:
                        process.stdin.write(b"ABI;CAB;Conto\n")
                        while True:
                            process.stdin.write(b"5428;11101;123456\n" * 10000)
                    except (BrokenPipeError, ValueError):
                        process.stdin.close()

                producer = threading.Thread(target=endless)
                producer.start()
                self.assertEqual(process.stdout.readline(), b"ABI;CAB;Conto;IBAN;Esito\n")
                process.stdout.close()
                self.assertEqual(process.wait(60), status)
                producer.join()
                error = process.stderr.read().decode()
                process.stderr.close()
                if status == 2:
                    self.assertIn("Errore di scrittura nel file (standard output)", error)

    def test_random_records_read_as_python_reads_them(self):
        """Quotes, separators, line ends and accents in every place, across the reader's
        block boundaries: each row's fields come back as Python's csv module reads them."""
        generator = random.Random(17)
        alphabet = 'ab;,"\n\r è€x 0123456789'
        records = [["ABI", "CAB", "Conto"]]
        for _ in range(200000):
            records.append(["".join(generator.choice(alphabet)
                                    for _ in range(generator.randrange(12)))
                            for _ in range(generator.randrange(1, 6))])
        text = io.StringIO(newline="")
        csv.writer(text, delimiter=";", lineterminator="\r\n").writerows(records)
        data = text.getvalue().encode()
        self.assertGreater(len(data), 3 * 1024 * 1024)
        self.write("casuale.csv", data)
        result = run(self.path("casuale.csv"))
        self.assertIn(result.returncode, (0, 1), result.stderr.decode())
        expected = list(csv.reader(io.StringIO(data.decode(), newline=""), delimiter=";"))
        output = read_csv(self.path("casuale-IBAN.csv"), ";")
        self.assertEqual(len(output), len(expected))
        for given, back in zip(expected, output):
            # One empty field is written as a blank line, which Python reads as no field.
            self.assertEqual((back or [""])[:len(given)], given or [""])


if __name__ == "__main__":
    unittest.main()
