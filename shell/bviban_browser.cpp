// bviban-browser: the windowless browser that a hidden web launch starts. It fetches the one
// address it is given with a single GET, through the proxy that the environment names
// (http_proxy, no_proxy) as browsers do, and exits with how the request ended (hidden_browser.h):
// 0 when the server answered, 4 when it answered with an error, 3 when it did not answer in
// time or closed the connection unanswered, 1 when there was no way to it, 2 when called
// without exactly one address.

#include "hidden_browser.h"

#include <QCoreApplication>
#include <QNetworkAccessManager>
#include <QNetworkProxyFactory>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>
#include <QUrl>

namespace {

// Long enough for a slow server, short enough that no forgotten process lingers.
constexpr int kGiveUpAfterMs = 20'000;

int exitStatus(const QNetworkReply& reply, bool timedOut) {
    const QVariant status = reply.attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (status.isValid()) {
        return status.toInt() >= 400 ? shell::kBrowserRefused : shell::kBrowserAnswered;
    }
    switch (reply.error()) {
    case QNetworkReply::NoError:
        return shell::kBrowserAnswered;
    case QNetworkReply::RemoteHostClosedError:
    case QNetworkReply::TimeoutError:
    case QNetworkReply::ProxyConnectionClosedError:
    case QNetworkReply::ProxyTimeoutError:
        return shell::kBrowserNoAnswer;
    case QNetworkReply::OperationCanceledError:
        return timedOut ? shell::kBrowserNoAnswer : shell::kBrowserNoConnection;
    default:
        return shell::kBrowserNoConnection;
    }
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() != 2)
        return shell::kBrowserUsage;
    // Addresses may lack their scheme ("www.…") and hold raw characters such as spaces.
    const QUrl url = QUrl::fromUserInput(arguments.at(1));
    if (!url.isValid())
        return shell::kBrowserUsage;

    QNetworkProxyFactory::setUseSystemConfiguration(true);
    QNetworkAccessManager manager;
    QNetworkReply* reply = manager.get(QNetworkRequest(url));
    bool timedOut = false;
    QObject::connect(reply, &QNetworkReply::finished, &app,
                     [reply, &timedOut] { QCoreApplication::exit(exitStatus(*reply, timedOut)); });
    QTimer::singleShot(kGiveUpAfterMs, reply, [reply, &timedOut] {
        timedOut = true;
        reply->abort();
    });
    return app.exec();
}
