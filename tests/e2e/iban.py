"""The expected IBAN of bank coordinates, worked out here from the published rules (the Italian
CIN tables and ISO 7064 MOD 97-10), independently of the program."""

ODD = [1, 0, 5, 7, 9, 13, 15, 17, 19, 21, 2, 4, 18, 20, 11, 3, 6, 8, 12, 14, 16, 10, 22, 25, 24,
       23]
LETTERS = "ABCDEFGHIJKLMNOPQRSTUVWXYZ"
DIGITS = "0123456789"


def _index(character):
    return DIGITS.index(character) if character in DIGITS else LETTERS.index(character)


def cin(abi, cab, account):
    text = abi + cab + account
    total = sum(ODD[_index(c)] if position % 2 == 0 else _index(c)
                for position, c in enumerate(text))
    return LETTERS[total % 26]


def mod97(text):
    return int("".join(str(int(c, 36)) for c in text)) % 97


def expected_iban(abi, cab, account):
    """What the program must show for what the user typed (account in any case, with
    punctuation)."""
    kept = "".join(c for c in account.upper() if c in DIGITS or c in LETTERS)
    abi, cab, kept = abi.zfill(5), cab.zfill(5), kept.zfill(12)
    bban = cin(abi, cab, kept) + abi + cab + kept
    return f"IT{98 - mod97(bban + 'IT00'):02d}{bban}"


def is_valid_iban(iban):
    return len(iban) == 27 and iban.startswith("IT") and mod97(iban[4:] + iban[:4]) == 1
