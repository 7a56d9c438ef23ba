// Converting a list from the main window, as a user does it: a file dropped on the window (a
// real drop event with the file's URL), the progress dialog, "Annulla", the summary box and its
// "Apri la cartella"; the files written are read back.

#include "box_answerer.h"
#include "conversion_dialog.h"
#include "form1.h"
#include "list_conversion.h"
#include "message_boxes.h"
#include "recording_launcher.h"

#include <QApplication>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include <atomic>
#include <fstream>
#include <thread>

#include <csignal>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void write(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

// A file dragged from a file manager carries its URL and its path as text.
void dropFile(QWidget* target, const QString& path) {
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(path)});
    data.setText(path);
    const QPoint at = target->rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
    QVERIFY(drop.isAccepted());
}

const QByteArray kLista = "Nome;ABI;CAB;Conto\r\nRossi;5428;11101;123456\r\nBianchi;;1;2\r\n";
const QByteArray kConvertita = "\xEF\xBB\xBFNome;ABI;CAB;Conto;IBAN;Esito\r\n"
                               "Rossi;5428;11101;123456;IT60X0542811101000000123456;OK\r\n"
                               "Bianchi;;1;2;;Compilare ABI, CAB e Nr. del CONTO.\r\n";

// The main window wired as main.cpp wires it, with a launcher that only records.
struct Window {
    QtMessageBoxes boxes;
    RecordingLauncher launcher;
    QString chosen;
    // The real module, from the build tree.
    ListConversion lists{boxes, launcher, [this](QWidget*) { return chosen; },
                         ListConversion::moduleConverter({QStringLiteral(BVIBAN_MODULE_DIR)})};
    Form1 form{boxes, tools()};

    Form1Tools tools() {
        Form1Tools t;
        t.convertList = [this](QWidget* mainWindow) { lists.chooseAndConvert(mainWindow); };
        t.convertFiles = [this](QWidget* mainWindow, const QStringList& paths) {
            lists.convert(mainWindow, paths);
        };
        return t;
    }

    Window() {
        form.show();
        form.activateWindow();
    }
};

// Writes a list into a named pipe: 20,000 rows, then 20,000 more once `more` is set. Whatever
// happens to the test, it is let go and joined at the end of its scope.
class Feeder {
public:
    explicit Feeder(const QString& pipe)
        : path_(QFile::encodeName(pipe).toStdString()), thread_([this] { feed(); }) {}

    ~Feeder() {
        more = true;
        if (!opened_) {
            // Nobody read the pipe: opening it lets the writer's open return.
            const int reader = ::open(path_.c_str(), O_RDONLY | O_NONBLOCK);
            thread_.join();
            ::close(reader);
            return;
        }
        thread_.join();
    }

    std::atomic<bool> more{false};

private:
    void feed() {
        std::ofstream out(path_, std::ios::binary);
        opened_ = true;
        out << "ABI;CAB;Conto\n";
        rows(out);
        while (!more) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        rows(out);
    }

    static void rows(std::ofstream& out) {
        for (int i = 0; i < 20000; ++i) {
            out << 1000 + i % 9000 << ";11101;" << i << '\n';
        }
        out.flush();
    }

    std::string path_;
    std::atomic<bool> opened_{false};
    std::thread thread_;
};

} // namespace

class TestListConversion : public QObject {
    Q_OBJECT

private slots:
    // A pipe whose reader has gone must not end the test.
    void initTestCase() { std::signal(SIGPIPE, SIG_IGN); }
    void dropConvertsBesideTheFile();
    void progressAndCancel();
    void nameTakenMeanwhile();
    void dialogShowsPercentAndRows();
    void failuresAreToldInItalian();
    void chosenFromTheMenu();
};

// A file dropped on a field or on the window is converted beside it, never over a file that is
// there; the summary box opens the folder on request.
void TestListConversion::dropConvertsBesideTheFile() {
    QTemporaryDir folder;
    const QString lista = folder.filePath(QStringLiteral("lista.csv"));
    write(lista, kLista);
    Window window;
    BoxAnswerer answerer(&window.form, QStringLiteral("Apri la cartella"));
    QSignalSpy done(&window.lists, &ListConversion::done);

    auto* txtABI = window.form.findChild<QLineEdit*>(QStringLiteral("txtABI"));
    dropFile(txtABI, lista);
    QVERIFY(done.wait(30000));
    QCOMPARE(txtABI->text(), QString()); // the file is the window's, not text for the field
    QCOMPARE(readAll(folder.filePath(QStringLiteral("lista-IBAN.csv"))), kConvertita);
    QCOMPARE(answerer.boxes.size(), 1);
    const BoxAnswerer::Box& summary = answerer.boxes.first();
    QCOMPARE(summary.buttons,
             (QStringList{QStringLiteral("Apri la cartella"), QStringLiteral("Chiudi")}));
    QCOMPARE(summary.icon, QMessageBox::Information);
    QCOMPARE(summary.title, QStringLiteral("Brivanta IBAN"));
    QVERIFY2(
        summary.text.startsWith(
            QStringLiteral("L'elenco è convertito nel file «lista-IBAN.csv», nella cartella «") +
            QDir::toNativeSeparators(QDir(folder.path()).absolutePath()) + QStringLiteral("».")),
        qPrintable(summary.text));
    for (const char* line : {"Righe lette: 3 (righe di dati: 2)", "Righe OK: 1",
                             "Righe con un motivo: 1", "1 × Compilare ABI, CAB e Nr. del CONTO."}) {
        QVERIFY2(summary.text.contains(QString::fromUtf8(line)), line);
    }
    QCOMPARE(window.launcher.launches.size(), 1);
    QCOMPARE(window.launcher.launches.first().target, QDir(folder.path()).absolutePath());
    QCOMPARE(window.launcher.released, QList<shell::ProcessHandle>{4242});

    // Again, on the window itself: a new name, the first output untouched, no folder opened.
    write(folder.filePath(QStringLiteral("lista-IBAN.csv")), "tenuto");
    answerer.press = QStringLiteral("Chiudi");
    dropFile(&window.form, lista);
    QVERIFY(done.wait(30000));
    QCOMPARE(readAll(folder.filePath(QStringLiteral("lista-IBAN (2).csv"))), kConvertita);
    QCOMPARE(readAll(folder.filePath(QStringLiteral("lista-IBAN.csv"))), QByteArray("tenuto"));
    QCOMPARE(window.launcher.launches.size(), 1);
}

// Fed through a pipe, the conversion cannot end before the test lets it: meanwhile the dialog
// counts the rows, the ticker and the blink go on, and "Annulla" stops it leaving no file.
void TestListConversion::progressAndCancel() {
    QTemporaryDir folder;
    const QString pipe = folder.filePath(QStringLiteral("elenco.csv"));
    QCOMPARE(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    Window window;
    BoxAnswerer answerer(&window.form);
    QSignalSpy done(&window.lists, &ListConversion::done);
    QSignalSpy ticker(window.form.findChild<QTimer*>(QStringLiteral("Timer1")), &QTimer::timeout);
    QSignalSpy blink(window.form.findChild<QTimer*>(QStringLiteral("Timer2")), &QTimer::timeout);
    Feeder feeder(pipe);

    dropFile(&window.form, pipe);
    QTRY_VERIFY(window.lists.dialog() != nullptr);
    ConversionDialog* dialog = window.lists.dialog();
    QVERIFY(dialog->isVisible());
    QCOMPARE(dialog->windowTitle(), QStringLiteral("Conversione dell'elenco"));
    auto* rows = dialog->findChild<QLabel*>(QStringLiteral("lblRighe"));
    auto* bar = dialog->findChild<QProgressBar*>(QStringLiteral("prgAvanzamento"));
    QTRY_VERIFY_WITH_TIMEOUT(rows->text().endsWith(QStringLiteral(" righe")) &&
                                 rows->text() != QStringLiteral("0 righe"),
                             30000);
    QCOMPARE(bar->maximum(), 0); // a pipe has no size: the bar shows activity only
    QTRY_VERIFY(ticker.count() > 0 && blink.count() > 0);

    auto* annulla = dialog->findChild<QPushButton*>(QStringLiteral("cmdAnnulla"));
    QCOMPARE(annulla->text(), QStringLiteral("Annulla"));
    QTest::mouseClick(annulla, Qt::LeftButton);
    QCOMPARE(annulla->text(), QStringLiteral("Annullamento…"));
    QVERIFY(!annulla->isEnabled());
    feeder.more = true;
    QVERIFY(done.wait(30000));
    QVERIFY(window.lists.dialog() == nullptr || !window.lists.dialog()->isVisible());
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden | QDir::System),
             QStringList{QStringLiteral("elenco.csv")});
    QVERIFY(answerer.boxes.isEmpty()); // cancelled: nothing to tell
}

// Another conversion of the same list that ends first takes NAME-IBAN.csv: this one, when it
// is put in place, takes the next free name, and neither result is lost.
void TestListConversion::nameTakenMeanwhile() {
    QTemporaryDir folder;
    const QString pipe = folder.filePath(QStringLiteral("elenco.csv"));
    QCOMPARE(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    Window window;
    BoxAnswerer answerer(&window.form, QStringLiteral("Chiudi"));
    QSignalSpy done(&window.lists, &ListConversion::done);
    Feeder feeder(pipe);

    dropFile(&window.form, pipe);
    QTRY_VERIFY(window.lists.dialog() != nullptr);
    auto* rows = window.lists.dialog()->findChild<QLabel*>(QStringLiteral("lblRighe"));
    QTRY_VERIFY_WITH_TIMEOUT(rows->text() != QStringLiteral("0 righe"), 30000);
    write(folder.filePath(QStringLiteral("elenco-IBAN.csv")), "l'altra conversione");
    feeder.more = true;
    QVERIFY(done.wait(30000));
    QCOMPARE(readAll(folder.filePath(QStringLiteral("elenco-IBAN.csv"))),
             QByteArray("l'altra conversione"));
    const QByteArray converted = readAll(folder.filePath(QStringLiteral("elenco-IBAN (2).csv")));
    QCOMPARE(converted.count('\n'), 40001);
    QCOMPARE(answerer.boxes.size(), 1);
    QVERIFY2(answerer.boxes.first().text.startsWith(
                 QStringLiteral("L'elenco è convertito nel file «elenco-IBAN (2).csv»")),
             qPrintable(answerer.boxes.first().text));
}

void TestListConversion::dialogShowsPercentAndRows() {
    ConversionDialog dialog(QStringLiteral("lista.xlsx"), nullptr);
    auto* bar = dialog.findChild<QProgressBar*>(QStringLiteral("prgAvanzamento"));
    auto* rows = dialog.findChild<QLabel*>(QStringLiteral("lblRighe"));
    dialog.showProgress(0.42, 1234567);
    QCOMPARE(bar->text(), QStringLiteral("42%"));
    QCOMPARE(rows->text(), QStringLiteral("1.234.567 righe"));
    dialog.showProgress(-1, 1);
    QCOMPARE(bar->maximum(), 0);
    QCOMPARE(rows->text(), QStringLiteral("1 riga"));
    QCOMPARE(dialog.findChild<QLabel*>(QStringLiteral("lblFile"))->text(),
             QStringLiteral("Conversione di «lista.xlsx» in corso…"));
    for (QWidget* control : dialog.findChildren<QWidget*>()) {
        QVERIFY2(!control->accessibleName().isEmpty(), qPrintable(control->objectName()));
    }
}

// A file that is not a list, or that names no columns: an Italian warning, nothing written.
void TestListConversion::failuresAreToldInItalian() {
    QTemporaryDir folder;
    const QString photo = folder.filePath(QStringLiteral("foto.csv"));
    write(photo, QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16));
    const QString names = folder.filePath(QStringLiteral("nomi.csv"));
    write(names, "Banca;Filiale\n5428;11101\n");
    Window window;
    BoxAnswerer answerer(&window.form);
    QSignalSpy done(&window.lists, &ListConversion::done);

    dropFile(&window.form, photo);
    QVERIFY(done.wait(30000));
    dropFile(&window.form, names);
    QVERIFY(done.wait(30000));
    const QList<BoxAnswerer::Box>& seen = answerer.boxes;
    QCOMPARE(seen.size(), 2);
    QCOMPARE(seen.at(0).icon, QMessageBox::Warning);
    QCOMPARE(seen.at(0).text, QStringLiteral("Il file ") + photo +
                                  QStringLiteral(" non è una tabella: contiene dati binari, "
                                                 "non testo."));
    QVERIFY(seen.at(1).text.contains(QStringLiteral("Intestazioni lette: «Banca», «Filiale».")));
    QVERIFY(seen.at(1).text.endsWith(
        QStringLiteral("Chiama le colonne ABI, CAB e Conto, oppure IBAN, e riprova.")));
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden).size(), 2);
}

// "Converti un elenco…" asks for the file; giving up converts nothing.
void TestListConversion::chosenFromTheMenu() {
    QTemporaryDir folder;
    Window window;
    BoxAnswerer answerer(&window.form, QStringLiteral("Chiudi"));
    QSignalSpy done(&window.lists, &ListConversion::done);

    window.lists.chooseAndConvert(&window.form);
    QVERIFY(window.lists.dialog() == nullptr);
    QVERIFY(!done.wait(200));

    window.chosen = folder.filePath(QStringLiteral("lista.csv"));
    write(window.chosen, kLista);
    window.lists.chooseAndConvert(&window.form);
    QVERIFY(done.wait(30000));
    QCOMPARE(readAll(folder.filePath(QStringLiteral("lista-IBAN.csv"))), kConvertita);
    QCOMPARE(answerer.boxes.size(), 1);
    QVERIFY(window.launcher.launches.isEmpty());
}

QTEST_MAIN(TestListConversion)
#include "tst_list_conversion.moc"
