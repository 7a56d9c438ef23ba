#pragma once

#include <QString>

// The request that asks the vendor's server to invite a friend. The values are percent-encoded
// as UTF-8, so that "&", "=", "#", spaces or accented letters reach the server exactly as typed
// instead of adding keys, cutting the request short or making the address invalid.
QString invitationUrl(const QString& friendAddress, const QString& senderAddress,
                      const QString& senderName);
