// bviban-browser: the windowless browser that a hidden web launch starts. It fetches the one
// address it is given with a single GET, through the proxy that the environment names
// (http_proxy, no_proxy) as browsers do, and exits: 0 when the server answered, 1 when the
// request failed or ran out of time, 2 when called without exactly one address.

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

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() != 2)
        return 2;
    // Addresses may lack their scheme ("www.…") and hold raw characters such as spaces.
    const QUrl url = QUrl::fromUserInput(arguments.at(1));
    if (!url.isValid())
        return 2;

    QNetworkProxyFactory::setUseSystemConfiguration(true);
    QNetworkAccessManager manager;
    QNetworkReply* reply = manager.get(QNetworkRequest(url));
    QObject::connect(reply, &QNetworkReply::finished, &app, [reply] {
        QCoreApplication::exit(reply->error() == QNetworkReply::NoError ? 0 : 1);
    });
    QTimer::singleShot(kGiveUpAfterMs, reply, &QNetworkReply::abort);
    return app.exec();
}
