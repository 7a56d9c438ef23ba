// The invitation request on any three texts: its query decodes back to exactly those texts
// under MAIL_DEST, MAIL_MIT and NomeAmico, in this order. The address is also read as the hidden
// browser reads it (QUrl::fromUserInput), which must send it unchanged. The values are decoded
// byte for byte: QUrl's own decoder turns Unicode noncharacters (U+FFFFF...) into U+FFFD, while
// the request carries their UTF-8 as typed.

#include "identity.h"
#include "invitation_url.h"

#include "fuzz_support.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
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

void checkReadsAs(const QUrl& url, const QString& address, const QStringList& keys) {
    check(url.isValid());
    check(url.scheme() == QLatin1String("http"));
    check(url.host() == QLatin1String(identity::kVendorHost));
    check(url.path() == QLatin1String("/quorvel_sendmail.asp"));
    check(url.fragment().isNull());
    check(url.toEncoded() == address.toLatin1());
    QStringList readKeys;
    for (const auto& item : QUrlQuery(url).queryItems(QUrl::FullyDecoded))
        readKeys.append(item.first);
    check(readKeys == keys);
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
    const QStringList keys = {QStringLiteral("MAIL_DEST"), QStringLiteral("MAIL_MIT"),
                              QStringLiteral("NomeAmico")};
    const QString texts[] = {friendAddress, senderAddress, senderName};
    for (int i = 0; i < 3; ++i) {
        check(pairs.at(i).startsWith(keys.at(i) + QLatin1Char('=')));
        const QString value = pairs.at(i).mid(keys.at(i).size() + 1);
        checkEncodedValue(value);
        check(QByteArray::fromPercentEncoding(value.toLatin1()) == texts[i].toUtf8());
    }

    checkReadsAs(QUrl(url, QUrl::StrictMode), url, keys);
    checkReadsAs(QUrl::fromUserInput(url), url, keys);
    return 0;
}
