#include "launcher_posix.h"
#include "request_recorder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <optional>

// Sets (or, given a null value, removes) an environment variable for the lifetime of the object.
class ScopedEnvironment {
public:
    ScopedEnvironment(const char* name, const QByteArray& value)
        : m_name(name), m_wasSet(qEnvironmentVariableIsSet(name)), m_saved(qgetenv(name)) {
        set(value);
    }
    ~ScopedEnvironment() { set(m_wasSet ? m_saved : QByteArray()); }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    void set(const QByteArray& value) const {
        if (value.isNull())
            qunsetenv(m_name);
        else
            qputenv(m_name, value);
    }

    const char* m_name;
    bool m_wasSet;
    QByteArray m_saved;
};

// What one recording script saw when it ran.
struct Run {
    QStringList arguments;
    QString workingDirectory;
    qint64 pid = 0;
    qint64 parentPid = 0;
};

class TstPosixLauncher : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void openUrlHandsAddressToDesktopOpener();
    void normalWebLaunchHandsAddressToDesktopOpener_data();
    void normalWebLaunchHandsAddressToDesktopOpener();
    void documentStartsInItsFolder_data();
    void documentStartsInItsFolder();
    void emptyTargetLaunchesNothing();
    void failedStartGivesZero_data();
    void failedStartGivesZero();
    void hiddenWebLaunchSendsOneRequest_data();
    void hiddenWebLaunchSendsOneRequest();

private:
    QString path(const QString& relative) const { return m_root.filePath(relative); }
    // A shell script that records its arguments, folder and process ids, one file per run.
    void writeRecorder(const QString& scriptPath) const;
    QList<Run> runs() const;

    QTemporaryDir m_root;
    // The stub desktop opener comes first on the search path.
    std::optional<ScopedEnvironment> m_searchPath;
    shell::PosixLauncher m_launcher{BVIBAN_BROWSER_PATH};
};

void TstPosixLauncher::initTestCase() {
    QVERIFY(m_root.isValid());
    QVERIFY(QDir(m_root.path()).mkpath("runs"));
    QVERIFY(QDir(m_root.path()).mkpath("bin"));
    writeRecorder(path("bin/xdg-open"));
    // The desktop names a program for plain text only, and so for the types derived from it.
    QFile mime(path("bin/xdg-mime"));
    QVERIFY(mime.open(QIODevice::WriteOnly));
    mime.write("#!/bin/sh\n[ \"$1 $2 $3\" = 'query default text/plain' ] && echo testo.desktop\n"
               "exit 0\n");
    mime.close();
    QVERIFY(mime.setPermissions(mime.permissions() | QFileDevice::ExeOwner));
    m_searchPath.emplace("PATH", path("bin").toLocal8Bit() + ':' + qgetenv("PATH"));
}

void TstPosixLauncher::init() {
    QDir runs(path("runs"));
    for (const QString& name : runs.entryList(QDir::Files))
        QVERIFY(runs.remove(name));
}

void TstPosixLauncher::writeRecorder(const QString& scriptPath) const {
    QVERIFY(QDir().mkpath(QFileInfo(scriptPath).absolutePath()));
    QFile script(scriptPath);
    QVERIFY(script.open(QIODevice::WriteOnly));
    const QString out = path("runs") + "/$$";
    script.write(QString("#!/bin/sh\n"
                         "{ for a in \"$@\"; do printf 'arg:%s\\n' \"$a\"; done\n"
                         "  printf 'cwd:%s\\npid:%s\\nppid:%s\\n' \"$(pwd -P)\" $$ $PPID\n"
                         "} > '%1.part' && mv '%1.part' '%1'\n")
                     .arg(out)
                     .toLocal8Bit());
    script.close();
    QVERIFY(script.setPermissions(script.permissions() | QFileDevice::ExeOwner));
}

QList<Run> TstPosixLauncher::runs() const {
    QList<Run> result;
    const QDir dir(path("runs"));
    for (const QString& name : dir.entryList(QDir::Files)) {
        if (name.endsWith(".part"))
            continue;
        QFile file(dir.filePath(name));
        if (!file.open(QIODevice::ReadOnly))
            continue;
        Run run;
        for (const QString& line : QString::fromLocal8Bit(file.readAll()).split('\n')) {
            if (line.startsWith("arg:"))
                run.arguments.append(line.mid(4));
            else if (line.startsWith("cwd:"))
                run.workingDirectory = line.mid(4);
            else if (line.startsWith("pid:"))
                run.pid = line.mid(4).toLongLong();
            else if (line.startsWith("ppid:"))
                run.parentPid = line.mid(5).toLongLong();
        }
        result.append(run);
    }
    return result;
}

void TstPosixLauncher::openUrlHandsAddressToDesktopOpener() {
    const QString url = "http://www.brivanta.example/prodotti/agenda.htm";
    m_launcher.openUrl(url);
    QTRY_COMPARE(runs().size(), 1);
    QCOMPARE(runs().first().arguments, QStringList{url});
}

void TstPosixLauncher::normalWebLaunchHandsAddressToDesktopOpener_data() {
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("parameters");

    QTest::newRow("full address") << "http://www.brivanta.example/"
                                  << "";
    QTest::newRow("parameters play no part") << "WWW.Brivanta.Example/Prodotti"
                                             << "--nuova";
    QTest::newRow("raw characters kept")
        << "http://www.brivanta.example/a.asp?NomeAmico=Ugo Rossi&x=è"
        << "";
}

void TstPosixLauncher::normalWebLaunchHandsAddressToDesktopOpener() {
    QFETCH(QString, target);
    QFETCH(QString, parameters);

    const shell::ProcessHandle handle = m_launcher.ApriDocumento(target, parameters, 0);
    QVERIFY(handle > 0);
    QTRY_COMPARE(runs().size(), 1);
    const Run run = runs().first();
    QCOMPARE(run.arguments, QStringList{target});
    QCOMPARE(run.pid, handle);
}

void TstPosixLauncher::documentStartsInItsFolder_data() {
    QTest::addColumn<QString>("document");
    QTest::addColumn<bool>("program");
    QTest::addColumn<QString>("parameters");
    QTest::addColumn<qint16>("hidden");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("folder");

    QTest::newRow("program with parameters")
        << "documenti/elabora.sh" << true << "uno \"due tre\"  quattro" << qint16(0)
        << QStringList{"uno", "due tre", "quattro"} << "documenti";
    QTest::newRow("hidden program without parameters")
        << "documenti/elabora.sh" << true << "" << qint16(-1) << QStringList{} << "documenti";
    QTest::newRow("folder part ends at a colon")
        << "lavoro:/bin/elabora.sh" << true << "-v" << qint16(0) << QStringList{"-v"} << "lavoro:";
    QTest::newRow("document goes to the desktop opener")
        << "documenti/lettera.txt" << false << "/stampa" << qint16(0)
        << QStringList{"documenti/lettera.txt"} << "documenti";
    QTest::newRow("a type derived from one the desktop opens")
        << "documenti/elenco.csv" << false << "" << qint16(0) << QStringList{"documenti/elenco.csv"}
        << "documenti";
}

void TstPosixLauncher::documentStartsInItsFolder() {
    QFETCH(QString, document);
    QFETCH(bool, program);
    QFETCH(QString, parameters);
    QFETCH(qint16, hidden);
    QFETCH(QStringList, arguments);
    QFETCH(QString, folder);

    if (program) {
        writeRecorder(path(document));
    } else {
        QVERIFY(QDir(m_root.path()).mkpath(QFileInfo(document).path()));
        QFile text(path(document));
        QVERIFY(text.open(QIODevice::WriteOnly));
        for (QString& argument : arguments)
            argument = path(argument);
    }

    const shell::ProcessHandle handle =
        m_launcher.ApriDocumento(path(document), parameters, hidden);
    QVERIFY(handle > 0);
    QTRY_COMPARE(runs().size(), 1);
    const Run run = runs().first();
    QCOMPARE(run.arguments, arguments);
    QCOMPARE(run.workingDirectory, QFileInfo(path(folder)).canonicalFilePath());
    QCOMPARE(run.pid, handle);
    // Detached: the program is not our child and so can never linger as our zombie.
    QVERIFY(run.parentPid != QCoreApplication::applicationPid());
}

void TstPosixLauncher::emptyTargetLaunchesNothing() {
    QCOMPARE(m_launcher.ApriDocumento("", "http://www.brivanta.example/", 0), 0);
    m_launcher.openUrl("http://www.brivanta.example/dopo");
    QTRY_COMPARE(runs().size(), 1);
    QCOMPARE(runs().first().arguments, QStringList{"http://www.brivanta.example/dopo"});
}

void TstPosixLauncher::failedStartGivesZero_data() {
    QTest::addColumn<QString>("hiddenBrowser");
    QTest::addColumn<QByteArray>("searchPath");
    QTest::addColumn<QString>("target");
    QTest::addColumn<qint16>("hidden");

    QTest::newRow("no hidden browser") << "/nonexistent/bviban-browser" << QByteArray()
                                       << "http://www.brivanta.example/" << qint16(-1);
    QTest::newRow("no desktop opener") << BVIBAN_BROWSER_PATH << QByteArray("/nonexistent")
                                       << "http://www.brivanta.example/" << qint16(0);
    QTest::newRow("a document that no program of the desktop opens")
        << BVIBAN_BROWSER_PATH << QByteArray() << "foglio.ods" << qint16(0);
    QTest::newRow("folder part that does not exist")
        << BVIBAN_BROWSER_PATH << QByteArray() << "https://brivanta.example/listino.pdf"
        << qint16(0);
    // Linux takes at most 128 KiB in one argument of a program it starts.
    QTest::newRow("address beyond the system's limit for one argument")
        << BVIBAN_BROWSER_PATH << QByteArray()
        << "http://www.brivanta.example/?x=" + QString(200'000, u'a') << qint16(-1);
}

void TstPosixLauncher::failedStartGivesZero() {
    QFETCH(QString, hiddenBrowser);
    QFETCH(QByteArray, searchPath);
    QFETCH(QString, target);
    QFETCH(qint16, hidden);

    const ScopedEnvironment search("PATH", searchPath.isEmpty() ? qgetenv("PATH") : searchPath);
    shell::PosixLauncher launcher(hiddenBrowser);
    QCOMPARE(launcher.ApriDocumento(target, "", hidden), 0);
}

void TstPosixLauncher::hiddenWebLaunchSendsOneRequest_data() {
    QTest::addColumn<QString>("target");
    QTest::addColumn<QByteArray>("requestLine");

    QTest::newRow("invitation")
        << "http://www.brivanta.example/quorvel_sendmail.asp?MAIL_DEST=amico@example.org"
           "&MAIL_MIT=io@example.org&NomeAmico=Ugo Rossi"
        << QByteArray("GET http://www.brivanta.example/quorvel_sendmail.asp?MAIL_DEST=amico@"
                      "example.org&MAIL_MIT=io@example.org&NomeAmico=Ugo%20Rossi HTTP/1.1");
    QTest::newRow("address without scheme")
        << "www.brivanta.example/prodotti"
        << QByteArray("GET http://www.brivanta.example/prodotti HTTP/1.1");
}

void TstPosixLauncher::hiddenWebLaunchSendsOneRequest() {
    QFETCH(QString, target);
    QFETCH(QByteArray, requestLine);

    RequestRecorder proxy;
    QVERIFY(proxy.listenLocally());

    shell::ProcessHandle handle = 0;
    {
        const ScopedEnvironment httpProxy("http_proxy", "http://127.0.0.1:" +
                                                            QByteArray::number(proxy.serverPort()));
        const ScopedEnvironment noProxy("no_proxy", QByteArray());
        handle = m_launcher.ApriDocumento(target, "ignorati", -1);
    }
    QVERIFY(handle > 0);
    QTRY_COMPARE_WITH_TIMEOUT(proxy.received, QList<QByteArray>{requestLine}, 15'000);
    // Its one request answered, the browser exits: gone, or left to the system to reap.
    QTRY_VERIFY_WITH_TIMEOUT(
        [handle] {
            QFile stat(QString("/proc/%1/stat").arg(handle));
            if (!stat.open(QIODevice::ReadOnly))
                return true;
            const QByteArray fields = stat.readAll();
            return fields.mid(fields.lastIndexOf(')') + 2, 1) == "Z";
        }(),
        15'000);
    QCOMPARE(proxy.received.size(), 1);
}

QTEST_GUILESS_MAIN(TstPosixLauncher)
#include "tst_posix_launcher.moc"
