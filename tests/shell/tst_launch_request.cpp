#include "folder_part.h"
#include "launch_request.h"

#include <QTest>

using shell::LaunchRequest;

class TstLaunchRequest : public QObject {
    Q_OBJECT

private slots:
    void webAddress_data();
    void webAddress();
    void request_data();
    void request();
    void showMode_data();
    void showMode();
    void emptyTargetLaunchesNothing_data();
    void emptyTargetLaunchesNothing();
    void folderPart_data();
    void folderPart();
};

void TstLaunchRequest::webAddress_data() {
    QTest::addColumn<QString>("target");
    QTest::addColumn<bool>("web");

    QTest::newRow("full address") << "http://www.brivanta.example/" << true;
    QTest::newRow("www. upper case") << "WWW.BRIVANTA.EXAMPLE" << true;
    QTest::newRow("http: mixed case") << "HtTp://brivanta.example/" << true;
    QTest::newRow("www. inside a document path") << "C:\\Siti\\www.brivanta\\indice.htm" << true;
    QTest::newRow("http: at the end") << "vedi http:" << true;
    QTest::newRow("https without www.") << "https://brivanta.example/listino.pdf" << false;
    QTest::newRow("www without dot") << "C:\\wwwroot\\indice.htm" << false;
    QTest::newRow("http without colon") << "C:\\http\\indice.htm" << false;
    QTest::newRow("document") << "C:\\Documenti\\lettera.doc" << false;
}

void TstLaunchRequest::webAddress() {
    QFETCH(QString, target);
    QFETCH(bool, web);
    QCOMPARE(shell::isWebAddress(target), web);
}

void TstLaunchRequest::request_data() {
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("parameters");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("expectedParameters");
    QTest::addColumn<QString>("directory");

    const QString invitation = "http://www.brivanta.example/quorvel_sendmail.asp?"
                               "MAIL_DEST=Amico@Example.org&MAIL_MIT=io@example.org&NomeAmico=Ugo";
    QTest::newRow("invitation, case kept") << invitation << ""
                                           << "iexplore.exe" << invitation << "";
    QTest::newRow("web address ignores parameters") << "WWW.Brivanta.Example/Prodotti"
                                                    << "-nuova"
                                                    << "iexplore.exe"
                                                    << "WWW.Brivanta.Example/Prodotti"
                                                    << "";
    QTest::newRow("document path with www.") << "C:\\Siti\\www.brivanta\\indice.htm"
                                             << "/p"
                                             << "iexplore.exe"
                                             << "C:\\Siti\\www.brivanta\\indice.htm"
                                             << "";
    QTest::newRow("https without www. is a document") << "https://brivanta.example/listino.pdf"
                                                      << "-x"
                                                      << "https://brivanta.example/listino.pdf"
                                                      << "-x"
                                                      << "https:";
    QTest::newRow("document in a folder") << "C:\\Documenti\\lettera.doc"
                                          << "/stampa"
                                          << "C:\\Documenti\\lettera.doc"
                                          << "/stampa"
                                          << "C:\\Documenti\\";
    QTest::newRow("document without folder") << "lettera.doc"
                                             << ""
                                             << "lettera.doc"
                                             << ""
                                             << "";
}

void TstLaunchRequest::request() {
    QFETCH(QString, target);
    QFETCH(QString, parameters);
    QFETCH(QString, file);
    QFETCH(QString, expectedParameters);
    QFETCH(QString, directory);

    const std::optional<LaunchRequest> request = shell::buildLaunchRequest(target, parameters, 0);
    QVERIFY(request.has_value());
    QCOMPARE(request->fMask, 0x40u);
    QCOMPARE(request->lpVerb, "open");
    QCOMPARE(request->lpFile, file);
    QCOMPARE(request->lpParameters, expectedParameters);
    QCOMPARE(request->lpDirectory, directory);
}

void TstLaunchRequest::showMode_data() {
    QTest::addColumn<QString>("target");
    QTest::addColumn<qint16>("hidden");
    QTest::addColumn<int>("show");

    const QString web = "http://www.brivanta.example/";
    const QString document = "C:\\Documenti\\lettera.doc";
    QTest::newRow("web, false") << web << qint16(0) << 1;
    QTest::newRow("web, true") << web << qint16(-1) << 0;
    QTest::newRow("web, 1") << web << qint16(1) << 0;
    QTest::newRow("web, largest") << web << qint16(32767) << 0;
    QTest::newRow("web, smallest") << web << qint16(-32768) << 0;
    QTest::newRow("document, false") << document << qint16(0) << 1;
    QTest::newRow("document, 2") << document << qint16(2) << 0;
}

void TstLaunchRequest::showMode() {
    QFETCH(QString, target);
    QFETCH(qint16, hidden);
    QFETCH(int, show);

    const std::optional<LaunchRequest> request = shell::buildLaunchRequest(target, "", hidden);
    QVERIFY(request.has_value());
    QCOMPARE(request->nShow, show);
}

void TstLaunchRequest::emptyTargetLaunchesNothing_data() {
    QTest::addColumn<QString>("parameters");
    QTest::addColumn<qint16>("hidden");

    QTest::newRow("no parameters, normal") << "" << qint16(0);
    QTest::newRow("parameters, hidden") << "http://www.brivanta.example/" << qint16(-1);
}

void TstLaunchRequest::emptyTargetLaunchesNothing() {
    QFETCH(QString, parameters);
    QFETCH(qint16, hidden);
    QVERIFY(!shell::buildLaunchRequest("", parameters, hidden).has_value());
}

void TstLaunchRequest::folderPart_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("folder");

    QTest::newRow("file in a folder") << "C:\\Documenti\\lettera.doc"
                                      << "C:\\Documenti\\";
    QTest::newRow("drive and file") << "C:lettera.doc"
                                    << "C:";
    QTest::newRow("ends in a backslash") << "C:\\Documenti\\"
                                         << "C:\\Documenti\\";
    QTest::newRow("file name alone") << "lettera.doc"
                                     << "";
    QTest::newRow("empty") << ""
                           << "";
    QTest::newRow("leading colon") << ":\\Documenti\\lettera.doc"
                                   << "";
    QTest::newRow("colon alone") << ":"
                                 << "";
    QTest::newRow("forward slashes only") << "/home/ugo/lettera.doc"
                                          << "";
    QTest::newRow("forward slashes after a drive") << "C:/Documenti/lettera.doc"
                                                   << "C:";
    QTest::newRow("colon after the last backslash") << "C:\\Documenti\\a:b.doc"
                                                    << "C:\\Documenti\\a:";
    QTest::newRow("network path") << "\\\\server\\share\\f.txt"
                                  << "\\\\server\\share\\";
    QTest::newRow("https address") << "https://brivanta.example/listino.pdf"
                                   << "https:";

    // Far beyond what a 16-bit position could count, both before and after the last separator.
    const QString longFolder = "C:\\" + QString(70'000, QLatin1Char('a')) + "\\";
    QTest::newRow("very long folder") << longFolder + "lettera.doc" << longFolder;
    QTest::newRow("very long file name")
        << "C:\\Documenti\\" + QString(40'000, QLatin1Char('b')) << "C:\\Documenti\\";
}

void TstLaunchRequest::folderPart() {
    QFETCH(QString, path);
    QFETCH(QString, folder);
    QCOMPARE(Module1::CartellaDelPercorso(path), folder);
}

QTEST_GUILESS_MAIN(TstLaunchRequest)
#include "tst_launch_request.moc"
