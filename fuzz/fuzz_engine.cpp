// The Calculate command's computation on any three texts: it either refuses them, or gives a
// 27-character Italian IBAN that passes MOD 97-10 and carries the CIN of its own coordinates.
// Coordinates that a user can type (ABI and CAB of one to five digits, an account keeping one
// to twelve letters and digits) must always be computed, and into their own BBAN.

#include "alfabeti.h"
#include "calcola_iban.h"
#include "module1.h"

#include "fuzz_support.h"

#include <QString>

namespace {

bool isDigit(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

bool isUpperLetter(QChar c) {
    return c >= QLatin1Char('A') && c <= QLatin1Char('Z');
}

// ISO 7064 MOD 97-10 over the IBAN rearranged, one digit at a time.
bool passesMod97(const QString& iban) {
    const QString rearranged = iban.mid(4) + iban.left(4);
    int remainder = 0;
    for (const QChar c : rearranged) {
        if (isDigit(c))
            remainder = (remainder * 10 + (c.unicode() - u'0')) % 97;
        else if (isUpperLetter(c))
            remainder = (remainder * 100 + (c.unicode() - u'A' + 10)) % 97;
        else
            return false;
    }
    return remainder == 1;
}

bool isShortDigits(const QString& text) {
    if (text.isEmpty() || text.size() > 5)
        return false;
    for (const QChar c : text) {
        if (!isDigit(c))
            return false;
    }
    return true;
}

QString lettersAndDigits(const QString& account) {
    QString kept;
    for (const QChar c : account) {
        if (isDigit(c) || isUpperLetter(c))
            kept.append(c);
    }
    return kept;
}

void checkIban(const QString& iban) {
    check(iban.size() == 27);
    check(iban.startsWith(QLatin1String("IT")));
    for (const QChar c : iban.mid(2))
        check(isDigit(c) || isUpperLetter(c));
    check(isDigit(iban.at(2)) && isDigit(iban.at(3)));
    check(isUpperLetter(iban.at(4)));
    for (const QChar c : iban.mid(5, 10))
        check(isDigit(c));
    check(passesMod97(iban));
    check(Module1::CalcolaCIN(iban.mid(5, 5), iban.mid(10, 5), iban.mid(15, 12)) == iban.mid(4, 1));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    FuzzedDataProvider data(bytes, size);
    const QString abi = textFrom(data);
    const QString cab = textFrom(data);
    // The command upper-cases the account field before it reads the three fields.
    const QString account = Module1::alfabeti::maiuscolo(textFrom(data));

    const Module1::EsitoCalcolo result = Module1::CalcolaIBAN(abi, cab, account);
    const QString kept = lettersAndDigits(account);
    const bool typable =
        isShortDigits(abi) && isShortDigits(cab) && !account.isEmpty() && kept.size() <= 12;
    if (!result.calcolato) {
        check(!typable);
        check(!result.avviso.isEmpty());
        return 0;
    }
    checkIban(result.iban);
    if (typable) {
        check(result.iban.mid(5, 5) == abi.rightJustified(5, QLatin1Char('0')));
        check(result.iban.mid(10, 5) == cab.rightJustified(5, QLatin1Char('0')));
        check(result.iban.mid(15) == kept.rightJustified(12, QLatin1Char('0')));
    }
    return 0;
}
