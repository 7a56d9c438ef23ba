// The invitation request on any three texts: its query, decoded by a URL parser, gives back
// exactly those texts under MAIL_DEST, MAIL_MIT and NomeAmico, in this order. The address is
// also read as the hidden browser reads it (QUrl::fromUserInput), with the same result.

#include "identity.h"
#include "invitation_url.h"

#include "fuzz_support.h"

#include <QList>
#include <QPair>
#include <QString>
#include <QUrl>
#include <QUrlQuery>

namespace {

bool isUnreserved(QChar c) {
    return (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) ||
           (c >= QLatin1Char('a') && c <= QLatin1Char('z')) ||
           (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == QLatin1Char('-') ||
           c == QLatin1Char('.') || c == QLatin1Char('_') || c == QLatin1Char('~');
}

bool isUpperHex(QChar c) {
    return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) ||
           (c >= QLatin1Char('A') && c <= QLatin1Char('F'));
}

// A value as it stands in the query: unreserved characters and %XX only.
void checkEncodedValue(const QString& value) {
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value.at(i) == QLatin1Char('%')) {
            check(i + 2 < value.size() && isUpperHex(value.at(i + 1)) &&
                  isUpperHex(value.at(i + 2)));
            i += 2;
        } else {
            check(isUnreserved(value.at(i)));
        }
    }
}

void checkDecodesTo(const QUrl& url, const QList<QPair<QString, QString>>& expected) {
    check(url.isValid());
    check(url.scheme() == QLatin1String("http"));
    check(url.host() == QLatin1String(identity::kVendorHost));
    check(url.path() == QLatin1String("/quorvel_sendmail.asp"));
    check(url.fragment().isNull());
    check(QUrlQuery(url).queryItems(QUrl::FullyDecoded) == expected);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    FuzzedDataProvider data(bytes, size);
    const QString friendAddress = textFrom(data);
    const QString senderAddress = textFrom(data);
    const QString senderName = textFrom(data);

    const QString url = invitationUrl(friendAddress, senderAddress, senderName);
    const QString prefix = QStringLiteral("http://") + QLatin1String(identity::kVendorHost) +
                           QStringLiteral("/quorvel_sendmail.asp?");
    check(url.startsWith(prefix));
    const QStringList pairs = url.mid(prefix.size()).split(QLatin1Char('&'));
    check(pairs.size() == 3);
    const char* const keys[] = {"MAIL_DEST", "MAIL_MIT", "NomeAmico"};
    for (int i = 0; i < 3; ++i) {
        check(pairs.at(i).startsWith(QLatin1String(keys[i]) + QLatin1Char('=')));
        checkEncodedValue(pairs.at(i).mid(qstrlen(keys[i]) + 1));
    }

    const QList<QPair<QString, QString>> expected = {{QStringLiteral("MAIL_DEST"), friendAddress},
                                                     {QStringLiteral("MAIL_MIT"), senderAddress},
                                                     {QStringLiteral("NomeAmico"), senderName}};
    checkDecodesTo(QUrl(url, QUrl::StrictMode), expected);
    checkDecodesTo(QUrl::fromUserInput(url), expected);
    return 0;
}
