#include "invitation_url.h"

#include "identity.h"

#include <QUrl>

namespace {

// Letters, digits and "-._~" stay as they are; everything else becomes %XX of its UTF-8 bytes.
QString encoded(const QString& value) {
    return QString::fromLatin1(QUrl::toPercentEncoding(value));
}

} // namespace

QString invitationUrl(const QString& friendAddress, const QString& senderAddress,
                      const QString& senderName) {
    return QStringLiteral("http://") + QLatin1String(identity::kVendorHost) +
           QStringLiteral("/quorvel_sendmail.asp?MAIL_DEST=") + encoded(friendAddress) +
           QStringLiteral("&MAIL_MIT=") + encoded(senderAddress) + QStringLiteral("&NomeAmico=") +
           encoded(senderName);
}
