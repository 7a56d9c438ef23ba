#include "session_bus.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QLocalServer>
#include <QLocalSocket>
#include <QTemporaryDir>
#include <QTest>

#include <chrono>

// A session bus that turns every client away: the attempt to connect ends at once, and each
// attempt is counted.
class RefusingBus : public QObject {
    Q_OBJECT

public:
    explicit RefusingBus(const QString& path) {
        connect(&m_server, &QLocalServer::newConnection, this, [this] {
            while (QLocalSocket* client = m_server.nextPendingConnection()) {
                ++m_connections;
                client->abort();
                client->deleteLater();
            }
        });
        m_listening = m_server.listen(path);
    }
    bool listening() const { return m_listening; }
    int connections() const { return m_connections; }

private:
    QLocalServer m_server;
    bool m_listening = false;
    int m_connections = 0;
};

class SessionBusTest : public QObject {
    Q_OBJECT

private slots:
    // The attempt ends, and the main thread's later request for the bus is answered by it rather
    // than by a second attempt.
    void mainThreadReusesTheAttempt() {
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        RefusingBus bus(folder.filePath(QStringLiteral("bus")));
        QVERIFY(bus.listening());
        qputenv("DBUS_SESSION_BUS_ADDRESS",
                "unix:path=" + folder.filePath(QStringLiteral("bus")).toLocal8Bit());

        std::future<void> attempt = shell::connectSessionBus();
        QTRY_VERIFY_WITH_TIMEOUT(
            attempt.wait_for(std::chrono::seconds(0)) == std::future_status::ready, 20000);
        QCOMPARE(bus.connections(), 1);

        QVERIFY(!QDBusConnection::sessionBus().isConnected());
        QTest::qWait(50);
        QCOMPARE(bus.connections(), 1);
    }
};

QTEST_GUILESS_MAIN(SessionBusTest)
#include "tst_session_bus.moc"
