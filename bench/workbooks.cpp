#include "workbooks.h"

#include <zip.h>

#include <cstdio>
#include <random>
#include <stdexcept>
#include <vector>

namespace {

constexpr char kMain[] = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
constexpr char kRelationships[] =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships";

// One row's values, the same for every format.
struct Row {
    long number;
    unsigned abi, cab;
    unsigned long long account;
    bool lettered; // an account with letters: text
    unsigned cents;
    unsigned day; // days after 1 January 2024
};

class Rows {
public:
    Row next(long number) {
        Row r{};
        r.number = number;
        r.abi = static_cast<unsigned>(1000 + random_() % 9000);
        r.cab = static_cast<unsigned>(random_() % 100000);
        r.account = random_() % 1000000000ull * 1000 + random_() % 1000;
        r.lettered = number % 4 == 0;
        r.cents = static_cast<unsigned>(random_() % 1000000);
        r.day = static_cast<unsigned>(random_() % 366);
        return r;
    }

private:
    std::mt19937 random_{20080718};
};

// Day, month and year of a day of 2024.
void dateOf(unsigned day, unsigned* d, unsigned* m) {
    static const unsigned lengths[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    unsigned month = 0;
    while (day >= lengths[month]) {
        day -= lengths[month++];
    }
    *d = day + 1;
    *m = month + 1;
}

constexpr unsigned kFirstOf2024 = 45292; // its serial number

class Zip {
public:
    explicit Zip(const std::string& path) {
        int error = 0;
        zip_ = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
        if (zip_ == nullptr)
            throw std::runtime_error("cannot write " + path);
    }
    // Stored when `stored`, else deflated at the fastest level: the bench's time goes to the
    // converter, not to making its input.
    void add(const std::string& name, std::string bytes, bool stored = false) {
        parts_.push_back(std::move(bytes));
        const std::string& kept = parts_.back();
        zip_source_t* source = zip_source_buffer(zip_, kept.data(), kept.size(), 0);
        const zip_int64_t index = zip_file_add(zip_, name.c_str(), source, ZIP_FL_ENC_UTF_8);
        if (index < 0)
            throw std::runtime_error("cannot add " + name);
        zip_set_file_compression(zip_, static_cast<zip_uint64_t>(index),
                                 stored ? ZIP_CM_STORE : ZIP_CM_DEFLATE, stored ? 0 : 1);
    }
    void close() {
        if (zip_close(zip_) != 0)
            throw std::runtime_error("cannot write a workbook");
        zip_ = nullptr;
    }
    ~Zip() {
        if (zip_ != nullptr)
            zip_discard(zip_);
    }

private:
    zip_t* zip_;
    std::vector<std::string> parts_;
};

std::string printed(const char* format, auto... values) {
    char text[512];
    const int n = std::snprintf(text, sizeof text, format, values...);
    return std::string(text, static_cast<std::size_t>(n));
}

} // namespace

void writeCsvList(const std::string& path, long rows) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr)
        throw std::runtime_error("cannot write " + path);
    std::setvbuf(file, nullptr, _IOFBF, 1 << 20);
    std::fputs("Nome;ABI;CAB;Conto;Importo;Data\r\n", file);
    Rows values;
    for (long i = 1; i < rows; ++i) {
        const Row r = values.next(i);
        unsigned d = 0, m = 0;
        dateOf(r.day, &d, &m);
        std::fprintf(file, "Cliente %07ld;%u;%u;%s%llu;%u,%02u;%02u/%02u/2024\r\n", i, r.abi, r.cab,
                     r.lettered ? "CC" : "", r.lettered ? r.account % 1000000000 : r.account,
                     r.cents / 100, r.cents % 100, d, m);
    }
    std::fclose(file);
}

void writeXlsxList(const std::string& path, long rows) {
    std::string strings;
    std::string sheet =
        printed("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>"
                "<worksheet xmlns=\"%s\" xmlns:r=\"%s\"><dimension ref=\"A1:F%ld\"/>"
                "<sheetData>",
                kMain, kRelationships, rows);
    long count = 0;
    const auto shared = [&](const std::string& text) {
        strings += "<si><t>" + text + "</t></si>";
        return count++;
    };
    sheet += "<row r=\"1\" spans=\"1:6\">";
    const char* titles[] = {"Nome", "ABI", "CAB", "Conto", "Importo", "Data"};
    for (int c = 0; c < 6; ++c)
        sheet += printed("<c r=\"%c1\" t=\"s\"><v>%ld</v></c>", 'A' + c, shared(titles[c]));
    sheet += "</row>";
    Rows values;
    for (long i = 1; i < rows; ++i) {
        const Row r = values.next(i);
        const long n = i + 1;
        sheet += printed("<row r=\"%ld\" spans=\"1:6\"><c r=\"A%ld\" t=\"s\"><v>%ld</v></c>"
                         "<c r=\"B%ld\"><v>%u</v></c><c r=\"C%ld\"><v>%u</v></c>",
                         n, n, shared(printed("Cliente %07ld", i)), n, r.abi, n, r.cab);
        if (r.lettered)
            sheet += printed("<c r=\"D%ld\" t=\"s\"><v>%ld</v></c>", n,
                             shared(printed("CC%llu", r.account % 1000000000)));
        else
            sheet += printed("<c r=\"D%ld\"><v>%llu</v></c>", n, r.account);
        sheet += printed("<c r=\"E%ld\" s=\"1\"><v>%u.%02u</v></c><c r=\"F%ld\" s=\"2\"><v>%u</v>"
                         "</c></row>",
                         n, r.cents / 100, r.cents % 100, n, kFirstOf2024 + r.day);
    }
    sheet += "</sheetData></worksheet>";

    Zip zip(path);
    zip.add("[Content_Types].xml",
            "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?><Types xmlns=\""
            "http://schemas.openxmlformats.org/package/2006/content-types\"><Default Extension="
            "\"rels\" ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
            "<Default Extension=\"xml\" ContentType=\"application/xml\"/><Override PartName="
            "\"/xl/workbook.xml\" ContentType=\"application/vnd.openxmlformats-officedocument."
            "spreadsheetml.sheet.main+xml\"/><Override PartName=\"/xl/worksheets/sheet1.xml\" "
            "ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml."
            "worksheet+xml\"/><Override PartName=\"/xl/sharedStrings.xml\" ContentType=\""
            "application/vnd.openxmlformats-officedocument.spreadsheetml.sharedStrings+xml\"/>"
            "<Override PartName=\"/xl/styles.xml\" ContentType=\"application/vnd."
            "openxmlformats-officedocument.spreadsheetml.styles+xml\"/></Types>");
    zip.add("_rels/.rels",
            printed("<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/"
                    "relationships\"><Relationship Id=\"rId1\" Type=\"%s/officeDocument\" "
                    "Target=\"xl/workbook.xml\"/></Relationships>",
                    kRelationships));
    zip.add("xl/workbook.xml",
            printed("<workbook xmlns=\"%s\" xmlns:r=\"%s\"><sheets><sheet name=\"Elenco\" "
                    "sheetId=\"1\" r:id=\"rId1\"/></sheets></workbook>",
                    kMain, kRelationships));
    zip.add("xl/_rels/workbook.xml.rels",
            printed("<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/"
                    "relationships\"><Relationship Id=\"rId1\" Type=\"%s/worksheet\" Target="
                    "\"worksheets/sheet1.xml\"/><Relationship Id=\"rId2\" Type=\"%s/"
                    "sharedStrings\" Target=\"sharedStrings.xml\"/><Relationship Id=\"rId3\" "
                    "Type=\"%s/styles\" Target=\"styles.xml\"/></Relationships>",
                    kRelationships, kRelationships, kRelationships));
    zip.add("xl/styles.xml",
            printed("<styleSheet xmlns=\"%s\"><cellXfs count=\"3\"><xf numFmtId=\"0\"/>"
                    "<xf numFmtId=\"4\" applyNumberFormat=\"1\"/><xf numFmtId=\"14\" "
                    "applyNumberFormat=\"1\"/></cellXfs></styleSheet>",
                    kMain));
    zip.add("xl/sharedStrings.xml",
            printed("<sst xmlns=\"%s\" count=\"%ld\" uniqueCount=\"%ld\">", kMain, count, count) +
                strings + "</sst>");
    zip.add("xl/worksheets/sheet1.xml", std::move(sheet));
    zip.close();
}

void writeOdsList(const std::string& path, long rows) {
    const auto text = [](const std::string& shown) {
        return "<table:table-cell office:value-type=\"string\" calcext:value-type=\"string\">"
               "<text:p>" +
               shown + "</text:p></table:table-cell>";
    };
    const auto number = [](const std::string& value, const std::string& shown) {
        return "<table:table-cell office:value-type=\"float\" office:value=\"" + value +
               "\" calcext:value-type=\"float\"><text:p>" + shown + "</text:p></table:table-cell>";
    };
    std::string content =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?><office:document-content xmlns:office=\""
        "urn:oasis:names:tc:opendocument:xmlns:office:1.0\" xmlns:table=\"urn:oasis:names:tc:"
        "opendocument:xmlns:table:1.0\" xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:"
        "text:1.0\" xmlns:calcext=\"urn:org:documentfoundation:names:experimental:calc:xmlns:"
        "calcext:1.0\" office:version=\"1.3\"><office:body><office:spreadsheet>"
        "<table:table table:name=\"Elenco\" table:style-name=\"ta1\"><table:table-column "
        "table:style-name=\"co1\" table:number-columns-repeated=\"6\" table:default-cell-style-"
        "name=\"Default\"/><table:table-row table:style-name=\"ro1\">";
    for (const char* title : {"Nome", "ABI", "CAB", "Conto", "Importo", "Data"})
        content += text(title);
    content += "</table:table-row>";
    Rows values;
    for (long i = 1; i < rows; ++i) {
        const Row r = values.next(i);
        unsigned d = 0, m = 0;
        dateOf(r.day, &d, &m);
        content += "<table:table-row table:style-name=\"ro1\">" +
                   text(printed("Cliente %07ld", i)) +
                   number(std::to_string(r.abi), std::to_string(r.abi)) +
                   number(std::to_string(r.cab), std::to_string(r.cab)) +
                   (r.lettered ? text(printed("CC%llu", r.account % 1000000000))
                               : number(std::to_string(r.account), std::to_string(r.account))) +
                   number(printed("%u.%02u", r.cents / 100, r.cents % 100),
                          printed("%u,%02u", r.cents / 100, r.cents % 100)) +
                   printed("<table:table-cell table:style-name=\"ce1\" office:value-type=\"date\" "
                           "office:date-value=\"2024-%02u-%02u\" calcext:value-type=\"date\">"
                           "<text:p>%02u/%02u/24</text:p></table:table-cell>",
                           m, d, d, m) +
                   "</table:table-row>";
    }
    content += "</table:table></office:spreadsheet></office:body></office:document-content>";
    Zip zip(path);
    zip.add("mimetype", "application/vnd.oasis.opendocument.spreadsheet", true);
    zip.add("META-INF/manifest.xml",
            "<manifest:manifest xmlns:manifest=\"urn:oasis:names:tc:opendocument:xmlns:"
            "manifest:1.0\" manifest:version=\"1.3\"><manifest:file-entry manifest:full-path="
            "\"/\" manifest:media-type=\"application/vnd.oasis.opendocument.spreadsheet\"/>"
            "<manifest:file-entry manifest:full-path=\"content.xml\" manifest:media-type="
            "\"text/xml\"/></manifest:manifest>");
    zip.add("content.xml", std::move(content));
    zip.close();
}

void writeClaimingWorkbook(const std::string& path) {
    writeXlsxList(path, 200);
    // The sheet's size, in its local header and in the central directory, made 4 GB.
    std::FILE* file = std::fopen(path.c_str(), "r+b");
    std::vector<unsigned char> bytes;
    int c = 0;
    while ((c = std::fgetc(file)) != EOF)
        bytes.push_back(static_cast<unsigned char>(c));
    const std::string name = "xl/worksheets/sheet1.xml";
    const auto u16 = [&](std::size_t at) { return bytes[at] | bytes[at + 1] << 8; };
    const auto claim = [&](std::size_t at) {
        for (int k = 0; k < 4; ++k)
            bytes[at + k] = static_cast<unsigned char>(0xFFFFFFFEu >> (8 * k));
    };
    for (std::size_t at = 0; at + 46 < bytes.size(); ++at) {
        if (bytes[at] != 'P' || bytes[at + 1] != 'K')
            continue;
        if (bytes[at + 2] == 3 && bytes[at + 3] == 4 &&
            std::string(bytes.begin() + at + 30, bytes.begin() + at + 30 + u16(at + 26)) == name)
            claim(at + 22);
        if (bytes[at + 2] == 1 && bytes[at + 3] == 2 &&
            std::string(bytes.begin() + at + 46, bytes.begin() + at + 46 + u16(at + 28)) == name)
            claim(at + 24);
    }
    std::rewind(file);
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
}
