#include "hidden_browser.h"

#include <QHostAddress>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

#include <memory>
#include <optional>

Q_DECLARE_METATYPE(shell::FetchOutcome)

namespace {

// How the test's server on the loopback interface, which the browser reaches as its proxy,
// treats each request.
enum class Server { Answers, AnswersWithAnError, ClosesUnanswered, NotListening, KeepsSilent };

} // namespace

Q_DECLARE_METATYPE(Server)

// The real windowless browser, run by the program's own request code, against a server of the
// test's own: how each request ends is what the invitation window tells the user.
class TstHiddenBrowser : public QObject {
    Q_OBJECT

private slots:
    void cleanup();
    void outcomeFollowsTheServer_data();
    void outcomeFollowsTheServer();
    void givenUpWithItsContext();

private:
    // Starts the server, and points the browser at it through http_proxy.
    void serve(Server behaviour);

    QTcpServer server_;
    QList<QPointer<QTcpSocket>> connections_;
};

void TstHiddenBrowser::cleanup() {
    server_.close();
    server_.disconnect(this);
    for (QTcpSocket* socket : std::as_const(connections_)) {
        delete socket;
    }
    connections_.clear();
    qunsetenv("http_proxy");
}

void TstHiddenBrowser::serve(Server behaviour) {
    QVERIFY(server_.listen(QHostAddress::LocalHost));
    qputenv("http_proxy", "http://127.0.0.1:" + QByteArray::number(server_.serverPort()));
    qunsetenv("no_proxy");
    if (behaviour == Server::NotListening) {
        server_.close();
        return;
    }
    connect(&server_, &QTcpServer::newConnection, this, [this, behaviour] {
        QTcpSocket* socket = server_.nextPendingConnection();
        connections_.append(socket);
        connect(socket, &QTcpSocket::readyRead, socket, [socket, behaviour] {
            if (!socket->peek(64 * 1024).contains("\r\n\r\n"))
                return;
            socket->readAll();
            switch (behaviour) {
            case Server::Answers:
                socket->write(
                    "HTTP/1.1 200 OK\r\nContent-Length: 2\r\nConnection: close\r\n\r\nOK");
                break;
            case Server::AnswersWithAnError:
                socket->write("HTTP/1.1 503 Service Unavailable\r\nContent-Length: 0\r\n"
                              "Connection: close\r\n\r\n");
                break;
            case Server::KeepsSilent:
                return;
            default:
                break;
            }
            socket->disconnectFromHost();
        });
    });
}

void TstHiddenBrowser::outcomeFollowsTheServer_data() {
    QTest::addColumn<Server>("server");
    QTest::addColumn<QString>("program");
    QTest::addColumn<shell::FetchOutcome>("outcome");
    const QString browser = QStringLiteral(BVIBAN_BROWSER_PATH);
    QTest::newRow("answered") << Server::Answers << browser << shell::FetchOutcome::Answered;
    QTest::newRow("answered with an error")
        << Server::AnswersWithAnError << browser << shell::FetchOutcome::Refused;
    QTest::newRow("closed unanswered")
        << Server::ClosesUnanswered << browser << shell::FetchOutcome::NoAnswer;
    QTest::newRow("nobody listening")
        << Server::NotListening << browser << shell::FetchOutcome::NoConnection;
    QTest::newRow("no browser") << Server::Answers << QStringLiteral("/nonexistent/bviban-browser")
                                << shell::FetchOutcome::NotSent;
}

void TstHiddenBrowser::outcomeFollowsTheServer() {
    QFETCH(Server, server);
    QFETCH(QString, program);
    QFETCH(shell::FetchOutcome, outcome);
    serve(server);
    QObject context;
    std::optional<shell::FetchOutcome> ended;
    shell::hiddenBrowserAt(program)->fetch(
        QStringLiteral("http://www.brivanta.example/quorvel_sendmail.asp?MAIL_DEST=a%40b.it"),
        &context, [&ended](shell::FetchOutcome o) { ended = o; });
    QTRY_VERIFY_WITH_TIMEOUT(ended.has_value(), 15'000);
    QCOMPARE(*ended, outcome);
}

// A window closed while it waits: the browser ends at once, its connection with it, and nobody
// is told how the request went.
void TstHiddenBrowser::givenUpWithItsContext() {
    serve(Server::KeepsSilent);
    auto context = std::make_unique<QObject>();
    bool told = false;
    shell::hiddenBrowserAt(QStringLiteral(BVIBAN_BROWSER_PATH))
        ->fetch(QStringLiteral("http://www.brivanta.example/"), context.get(),
                [&told](shell::FetchOutcome) { told = true; });
    QTRY_VERIFY_WITH_TIMEOUT(!connections_.isEmpty() && connections_.first()->bytesAvailable() == 0,
                             15'000);
    QPointer<QTcpSocket> connection = connections_.first();
    context.reset();
    QTRY_VERIFY_WITH_TIMEOUT(
        connection.isNull() || connection->state() == QAbstractSocket::UnconnectedState, 5'000);
    QTest::qWait(100);
    QVERIFY(!told);
}

QTEST_GUILESS_MAIN(TstHiddenBrowser)
#include "tst_hidden_browser.moc"
