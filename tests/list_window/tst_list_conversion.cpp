// Converting a list from the main window, as a user does it: a file dropped on the window (a
// real drop event with the file's URL), the progress dialog, "Annulla", the summary box and its
// "Apri la cartella"; the files written are read back.

#include "box_answerer.h"
#include "conversion_dialog.h"
#include "list_window_fixture.h"
#include "results_dialog.h"

#include <QAccessible>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTemporaryDir>

#include <atomic>
#include <fstream>
#include <thread>

#include <csignal>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QByteArray kLista = "Nome;ABI;CAB;Conto\r\nRossi;5428;11101;123456\r\nBianchi;;1;2\r\n";
const QByteArray kConvertita = "\xEF\xBB\xBFNome;ABI;CAB;Conto;IBAN;Esito\r\n"
                               "Rossi;5428;11101;123456;IT60X0542811101000000123456;OK\r\n"
                               "Bianchi;;1;2;;Compilare ABI, CAB e Nr. del CONTO.\r\n";

// What the results showed, before the test pressed a button.
struct SeenResults {
    QString esito;
    QStringList counts;
    QStringList lists; // with several lists: each one's cells, joined by "|"
    QStringList done;  // the progress dialog's lines
};

// Records the next results and presses `press` ("cmdChiudi", "cmdApriCartella"...), then
// "Chiudi".
std::shared_ptr<SeenResults> seeResults(ListConversion& lists, const char* press = "cmdChiudi") {
    auto seen = std::make_shared<SeenResults>();
    whenShown<ResultsDialog>([seen, press, &lists](ResultsDialog* results) {
        seen->esito = results->findChild<QLabel*>(QStringLiteral("lblEsito"))->text();
        for (const QLabel* label : results->findChildren<QLabel*>()) {
            if (label->objectName().startsWith(QStringLiteral("lblConteggio"))) {
                seen->counts << label->text();
            }
        }
        if (auto* table = results->findChild<QTableWidget*>(QStringLiteral("tblElenchi"))) {
            for (int row = 0; row < table->rowCount(); ++row) {
                QStringList cells;
                for (int column = 0; column < table->columnCount(); ++column) {
                    cells << table->item(row, column)->text();
                }
                seen->lists << cells.join('|');
            }
        }
        if (lists.dialog() != nullptr) {
            const auto* done = lists.dialog()->findChild<QListWidget*>(QStringLiteral("lstFatti"));
            for (int i = 0; i < done->count(); ++i) {
                seen->done << done->item(i)->text();
            }
        }
        QTest::mouseClick(results->findChild<QPushButton*>(QLatin1String(press)), Qt::LeftButton);
        if (results->isVisible()) {
            QTest::mouseClick(results->findChild<QPushButton*>(QStringLiteral("cmdChiudi")),
                              Qt::LeftButton);
        }
    });
    return seen;
}

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
    void severalFilesOneAfterAnother();
};

// A file dropped on a field or on the window is converted beside it, never over a file that is
// there; the results open the folder on request.
void TestListConversion::dropConvertsBesideTheFile() {
    QTemporaryDir folder;
    const QString lista = folder.filePath(QStringLiteral("lista.csv"));
    QVERIFY(write(lista, kLista));
    ListWindow window;
    QSignalSpy done(&window.lists, &ListConversion::done);

    auto seen = seeResults(window.lists, "cmdApriCartella");
    auto* txtABI = window.form.findChild<QLineEdit*>(QStringLiteral("txtABI"));
    dropFiles(txtABI, {lista});
    QVERIFY(done.wait(30000));
    QCOMPARE(txtABI->text(), QString()); // the file is the window's, not text for the field
    QCOMPARE(readAll(folder.filePath(QStringLiteral("lista-IBAN.csv"))), kConvertita);
    QCOMPARE(seen->esito, QStringLiteral("L'elenco «lista.csv» è convertito nel file "
                                         "«lista-IBAN.csv», nella cartella «") +
                              QDir::toNativeSeparators(QDir(folder.path()).absolutePath()) +
                              QStringLiteral("»."));
    QCOMPARE(seen->counts.mid(0, 4),
             (QStringList{"Righe lette: 3 (righe di dati: 2)", "Righe OK: 1",
                          "Righe con un motivo: 1", "1 × Compilare ABI, CAB e Nr. del CONTO."}));
    QVERIFY(seen->lists.isEmpty());
    QCOMPARE(window.launcher.launches.size(), 1);
    QCOMPARE(window.launcher.launches.first().target, QDir(folder.path()).absolutePath());
    QCOMPARE(window.launcher.released, QList<shell::ProcessHandle>{4242});

    // Again, on the window itself: a new name, the first output untouched, no folder opened.
    QVERIFY(write(folder.filePath(QStringLiteral("lista-IBAN.csv")), "tenuto"));
    seeResults(window.lists);
    dropFiles(&window.form, {lista});
    QVERIFY(done.wait(30000));
    QCOMPARE(readAll(folder.filePath(QStringLiteral("lista-IBAN (2).csv"))), kConvertita);
    QCOMPARE(readAll(folder.filePath(QStringLiteral("lista-IBAN.csv"))), QByteArray("tenuto"));
    QCOMPARE(window.launcher.launches.size(), 1);
}

// Fed through a pipe, the conversion cannot end before the test lets it: meanwhile the dialog
// counts the rows, screen readers hear the list's name and the rows, the ticker and the blink
// go on, and "Annulla" stops it leaving no file.
void TestListConversion::progressAndCancel() {
    QTemporaryDir folder;
    const QString pipe = folder.filePath(QStringLiteral("elenco.csv"));
    QCOMPARE(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    ListWindow window;
    BoxAnswerer answerer(&window.form);
    QSignalSpy done(&window.lists, &ListConversion::done);
    QSignalSpy ticker(window.form.findChild<QTimer*>(QStringLiteral("Timer1")), &QTimer::timeout);
    QSignalSpy blink(window.form.findChild<QTimer*>(QStringLiteral("Timer2")), &QTimer::timeout);
    Feeder feeder(pipe);

    dropFiles(&window.form, {pipe});
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
    QCOMPARE(rows->accessibleName(), QStringLiteral("Righe convertite: ") + rows->text());
    QCOMPARE(dialog->findChild<QLabel*>(QStringLiteral("lblFile"))->accessibleName(),
             QStringLiteral("Elenco in conversione: elenco.csv"));
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
    ListWindow window;
    QSignalSpy done(&window.lists, &ListConversion::done);
    Feeder feeder(pipe);

    dropFiles(&window.form, {pipe});
    QTRY_VERIFY(window.lists.dialog() != nullptr);
    auto* rows = window.lists.dialog()->findChild<QLabel*>(QStringLiteral("lblRighe"));
    QTRY_VERIFY_WITH_TIMEOUT(rows->text() != QStringLiteral("0 righe"), 30000);
    QVERIFY(write(folder.filePath(QStringLiteral("elenco-IBAN.csv")), "l'altra conversione"));
    auto seen = seeResults(window.lists);
    feeder.more = true;
    QVERIFY(done.wait(30000));
    QCOMPARE(readAll(folder.filePath(QStringLiteral("elenco-IBAN.csv"))),
             QByteArray("l'altra conversione"));
    const QByteArray converted = readAll(folder.filePath(QStringLiteral("elenco-IBAN (2).csv")));
    QCOMPARE(converted.count('\n'), 40001);
    QVERIFY2(seen->esito.startsWith(QStringLiteral("L'elenco «elenco.csv» è convertito nel file "
                                                   "«elenco-IBAN (2).csv»")),
             qPrintable(seen->esito));
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
    // What a screen reader reads: every control named, the labels with their values.
    const QStringList expected = {
        "Conversione dell'elenco",       "Elenco in conversione: lista.xlsx",
        "Avanzamento della conversione", "Righe convertite: 1 riga",
        "Elenchi già convertiti",        "Annulla la conversione"};
    QStringList names;
    QAccessibleInterface* window = QAccessible::queryAccessibleInterface(&dialog);
    names << window->text(QAccessible::Name);
    for (int i = 0; i < window->childCount(); ++i) {
        names << window->child(i)->text(QAccessible::Name);
    }
    QCOMPARE(names, expected);

    dialog.showList(QStringLiteral("altra.csv"), 2, 3);
    QCOMPARE(dialog.findChild<QLabel*>(QStringLiteral("lblFile"))->text(),
             QStringLiteral("Conversione di «altra.csv» in corso (2 di 3)…"));
    QCOMPARE(rows->accessibleName(), QStringLiteral("Righe convertite: 0 righe"));
}

// A file that is not a list is told in an Italian warning; one whose columns are not found
// asks for them, and "Annulla" there converts nothing and says nothing more.
void TestListConversion::failuresAreToldInItalian() {
    QTemporaryDir folder;
    const QString photo = folder.filePath(QStringLiteral("foto.csv"));
    QVERIFY(write(photo, QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16)));
    const QString names = folder.filePath(QStringLiteral("nomi.csv"));
    QVERIFY(write(names, "Banca;Filiale\n5428;11101\n"));
    ListWindow window;
    BoxAnswerer answerer(&window.form);
    QSignalSpy done(&window.lists, &ListConversion::done);

    dropFiles(&window.form, {photo});
    QVERIFY(done.wait(30000));
    QString asked;
    whenShown<ColumnDialog>([&asked](ColumnDialog* columns) {
        asked = columns->findChild<QLabel*>(QStringLiteral("lblPerche"))->text();
        QTest::mouseClick(columns->findChild<QPushButton*>(QStringLiteral("cmdAnnulla")),
                          Qt::LeftButton);
    });
    dropFiles(&window.form, {names});
    QVERIFY(done.wait(30000));
    const QList<BoxAnswerer::Box>& seen = answerer.boxes;
    QCOMPARE(seen.size(), 1);
    QCOMPARE(seen.at(0).icon, QMessageBox::Warning);
    QCOMPARE(seen.at(0).text, QStringLiteral("Il file ") + photo +
                                  QStringLiteral(" non è una tabella: contiene dati binari, "
                                                 "non testo."));
    QCOMPARE(asked, QStringLiteral("Nel file ") + names +
                        QStringLiteral(" non trovo le colonne ABI, CAB e Conto né la colonna "
                                       "IBAN. Indica qui in quali colonne sono."));
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden).size(), 2);
}

// "Converti un elenco…" asks for the file; giving up converts nothing.
void TestListConversion::chosenFromTheMenu() {
    QTemporaryDir folder;
    ListWindow window;
    QSignalSpy done(&window.lists, &ListConversion::done);

    window.lists.chooseAndConvert(&window.form);
    QVERIFY(window.lists.dialog() == nullptr);
    QVERIFY(!done.wait(200));

    window.chosen.path = folder.filePath(QStringLiteral("lista.csv"));
    QVERIFY(write(window.chosen.path, kLista));
    auto seen = seeResults(window.lists);
    window.lists.chooseAndConvert(&window.form);
    QVERIFY(done.wait(30000));
    QCOMPARE(readAll(folder.filePath(QStringLiteral("lista-IBAN.csv"))), kConvertita);
    QVERIFY(seen->esito.contains(QStringLiteral("«lista-IBAN.csv»")));
    QVERIFY(window.launcher.launches.isEmpty());
}

// Several files dropped at once: converted one after another, each with its line as it ends;
// then the results list every one of them, also those that could not be converted.
void TestListConversion::severalFilesOneAfterAnother() {
    QTemporaryDir folder;
    const QStringList files = {
        folder.filePath(QStringLiteral("uno.csv")), folder.filePath(QStringLiteral("foto.csv")),
        folder.filePath(QStringLiteral("due.csv")), folder.filePath(QStringLiteral("cartella"))};
    QVERIFY(write(files[0], kLista));
    QVERIFY(write(files[1], QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16)));
    QVERIFY(write(files[2], "IBAN\nIT60X0542811101000000123456\n"));
    QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("cartella")));
    ListWindow window;
    BoxAnswerer answerer(&window.form);
    QSignalSpy done(&window.lists, &ListConversion::done);

    auto seen = seeResults(window.lists);
    dropFiles(&window.form, files);
    QVERIFY(done.wait(30000));
    QCOMPARE(done.count(), 1);
    QVERIFY(answerer.boxes.isEmpty()); // the failures are in the results, not in boxes
    QCOMPARE(readAll(folder.filePath(QStringLiteral("uno-IBAN.csv"))), kConvertita);
    QVERIFY(QFile::exists(folder.filePath(QStringLiteral("due-IBAN.csv"))));
    const QString notTable = QStringLiteral("Il file ") + files[1] +
                             QStringLiteral(" non è una tabella: contiene dati binari, non testo.");
    const QString isFolder =
        QStringLiteral("Il file ") + files[3] + QStringLiteral(" è una cartella, non una tabella.");
    QCOMPARE(seen->lists, (QStringList{"uno.csv|Convertito in «uno-IBAN.csv»|2|1|1",
                                       "foto.csv|" + notTable + "|||",
                                       "due.csv|Convertito in «due-IBAN.csv»|1|1|0",
                                       "cartella|" + isFolder + "|||"}));
    QCOMPARE(seen->done, (QStringList{"uno.csv: 2 righe di dati, 1 OK, 1 con un motivo",
                                      "foto.csv: non convertito (" + notTable + ")",
                                      "due.csv: 1 riga di dati, 1 OK, 0 con un motivo",
                                      "cartella: non convertito (" + isFolder + ")"}));
    // The first list is shown below the list of lists.
    QVERIFY(seen->esito.startsWith(QStringLiteral("L'elenco «uno.csv» è convertito")));
}

QTEST_MAIN(TestListConversion)
#include "tst_list_conversion.moc"
