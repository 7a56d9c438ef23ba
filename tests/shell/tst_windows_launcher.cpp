#include "launcher_windows.h"
#include "launcher_windows_qt.h"
#include "request_recorder.h"

#include <QFileInfo>
#include <QTest>

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <shellapi.h>

// The Windows launcher's own part: arguments on a command line, and the hidden web launch that
// starts the program's windowless browser.
class TstWindowsLauncher : public QObject {
    Q_OBJECT

private slots:
    void argumentComesBackWhole_data();
    void argumentComesBackWhole();
    void hiddenWebLaunchSendsOneRequest_data();
    void hiddenWebLaunchSendsOneRequest();
};

void TstWindowsLauncher::argumentComesBackWhole_data() {
    QTest::addColumn<QString>("argument");

    QTest::newRow("plain") << "http://www.brivanta.example/";
    QTest::newRow("empty") << "";
    QTest::newRow("spaces") << "http://www.brivanta.example/?NomeAmico=Ugo Rossi";
    QTest::newRow("quotes") << "NomeAmico=Ugo \"Ughetto\" Rossi";
    QTest::newRow("backslashes before a quote") << "a\\\\\"b";
    QTest::newRow("trailing backslashes with a space") << "C:\\Nuova cartella\\\\";
    QTest::newRow("backslashes alone") << "C:\\Dati\\elenco.csv";
    QTest::newRow("accents and a tab") << "Città\tgià";
}

void TstWindowsLauncher::argumentComesBackWhole() {
    QFETCH(QString, argument);
    const std::wstring line =
        L"programma.exe " + shell::win32::quotedArgument(argument.toStdWString());
    int count = 0;
    wchar_t** parsed = CommandLineToArgvW(line.c_str(), &count);
    QVERIFY(parsed != nullptr);
    const QStringList arguments = [&] {
        QStringList list;
        for (int i = 0; i < count; ++i)
            list << QString::fromWCharArray(parsed[i]);
        return list;
    }();
    LocalFree(parsed);
    QCOMPARE(arguments, QStringList({"programma.exe", argument}));
}

void TstWindowsLauncher::hiddenWebLaunchSendsOneRequest_data() {
    QTest::addColumn<QString>("query");
    QTest::addColumn<QByteArray>("requestLine");

    QTest::newRow("invitation")
        << "MAIL_DEST=amico@example.org&MAIL_MIT=io@example.org&NomeAmico=Ugo Rossi"
        << QByteArray("GET /quorvel_sendmail.asp?MAIL_DEST=amico@example.org"
                      "&MAIL_MIT=io@example.org&NomeAmico=Ugo%20Rossi HTTP/1.1");
    QTest::newRow("quotes in a name")
        << "MAIL_DEST=a@example.org&MAIL_MIT=b@example.org&NomeAmico=Ugo \"Ughetto\""
        << QByteArray("GET /quorvel_sendmail.asp?MAIL_DEST=a@example.org"
                      "&MAIL_MIT=b@example.org&NomeAmico=Ugo%20%22Ughetto%22 HTTP/1.1");
}

void TstWindowsLauncher::hiddenWebLaunchSendsOneRequest() {
    QFETCH(QString, query);
    QFETCH(QByteArray, requestLine);

    RequestRecorder server;
    QVERIFY(server.listenLocally());

    shell::WindowsLauncher launcher(QFileInfo(BVIBAN_BROWSER_PATH).absoluteFilePath());
    const QString target =
        QString("http://127.0.0.1:%1/quorvel_sendmail.asp?%2").arg(server.serverPort()).arg(query);
    const shell::ProcessHandle handle = launcher.ApriDocumento(target, "ignorati", -1);
    QVERIFY(handle != 0);
    QTRY_COMPARE_WITH_TIMEOUT(server.received, QList<QByteArray>{requestLine}, 20'000);
    // Its one request answered, the browser exits with success.
    const auto process = reinterpret_cast<HANDLE>(handle);
    QTRY_VERIFY_WITH_TIMEOUT(WaitForSingleObject(process, 0) == WAIT_OBJECT_0, 20'000);
    DWORD status = 1;
    QVERIFY(GetExitCodeProcess(process, &status));
    QCOMPARE(status, DWORD(0));
    launcher.releaseHandle(handle);
    QCOMPARE(server.received.size(), 1);
}

QTEST_GUILESS_MAIN(TstWindowsLauncher)

#include "tst_windows_launcher.moc"
