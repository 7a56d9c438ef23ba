// The sheet and column dialog as a user meets it, when a list's columns are not found and from
// the file chooser's "Scegli le colonne…": what it shows and preselects, and that the choices
// give byte for byte the output of bviban-cli converti with the options they stand for.

#include "column_dialog.h"
#include "list_window_fixture.h"
#include "results_dialog.h"
#include "zip_files.h"

#include <QComboBox>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTemporaryDir>

namespace {

using zip_files::Sheet;

const char* const kCombos[] = {"cboABI", "cboCAB", "cboConto", "cboIBAN"};

// A workbook's parts as bviban-cli and the window write them: the same but for the time of
// writing in its properties.
QMap<QString, QByteArray> workbookParts(const QString& path) {
    QMap<QString, QByteArray> parts = zip_files::read(path);
    const QString core = QStringLiteral("docProps/core.xml");
    if (parts.contains(core)) {
        parts[core] = QString::fromUtf8(parts[core])
                          .remove(QRegularExpression(QStringLiteral(
                              "<dcterms:(created|modified)[^>]*>[^<]*</dcterms:\\1>")))
                          .toUtf8();
    }
    return parts;
}

// What the dialog showed, and the keys the user typed there.
struct Dialog {
    QString sheets;         // the sheets offered, "|" between them; the current one in []
    QStringList preview;    // the headers, then the rows, cells joined by "|"
    QList<int> preselected; // by combo: the choice it started with
    QString warning;
};

QString offered(const QComboBox* combo) {
    QStringList items;
    for (int i = 0; i < combo->count(); ++i) {
        items << (i == combo->currentIndex() ? '[' + combo->itemText(i) + ']' : combo->itemText(i));
    }
    return items.join('|');
}

QStringList previewed(const QTableWidget* table) {
    QStringList headers;
    for (int column = 0; column < table->columnCount(); ++column) {
        headers << table->horizontalHeaderItem(column)->text();
    }
    QStringList rows = {headers.join('|')};
    for (int row = 0; row < table->rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < table->columnCount(); ++column) {
            const QTableWidgetItem* item = table->item(row, column);
            cells << (item != nullptr ? item->text() : QString());
        }
        rows << table->verticalHeaderItem(row)->text() + ':' + cells.join('|');
    }
    return rows;
}

} // namespace

class TestColumnDialog : public QObject {
    Q_OBJECT

private slots:
    void choicesGiveTheCliOutput_data();
    void choicesGiveTheCliOutput();
};

void TestColumnDialog::choicesGiveTheCliOutput_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("fromChooser");
    QTest::addColumn<int>("sheetDowns");         // Down keys typed in the sheet's list
    QTest::addColumn<QList<int>>("choices");     // by combo: 0 "(nessuna)", else the column from 1
    QTest::addColumn<QStringList>("cliOptions"); // empty: "Annulla", nothing converted
    QTest::addColumn<QString>("sheets");
    QTest::addColumn<QStringList>("preview");
    QTest::addColumn<QList<int>>("preselected");
    QTest::addColumn<QString>("warning");

    QTest::newRow("workbook, the second sheet")
        << "conti.xlsx" << false << 1 << QList<int>{1, 2, 3, 0}
        << QStringList{"--foglio", "Conti", "--abi", "1", "--cab", "2", "--conto", "3"}
        << "Note|[Conti]"
        << QStringList{"Colonna 1: Banca|Colonna 2: Filiale|Colonna 3: Numero|Colonna 4: Nome",
                       "2:5428|11101|123456|Rossi", "3:|11101|7|Bianchi",
                       "4:3069|9606|100012X|Verdi"}
        << QList<int>{0, 0, 0, 0} << QString();
    QTest::newRow("a header that names two columns of three")
        << "parziale.csv" << false << 0 << QList<int>{2, 3, 4, 0}
        << QStringList{"--cab", "Sportello"} << QString()
        << QStringList{"Colonna 1: Nome|Colonna 2: ABI|Colonna 3: Sportello|Colonna 4: Conto",
                       "3:Rossi|5428|11101|123456", "4:Bianchi||1|2"}
        << QList<int>{2, 0, 4, 0} << QString();
    QTest::newRow("spreadsheet, IBAN only")
        << "clienti.ods" << false << 0 << QList<int>{0, 0, 0, 2} << QStringList{"--iban", "2"}
        << "[Foglio1]"
        << QStringList{"Colonna 1: Cliente|Colonna 2: Coordinate",
                       "2:Rossi|IT60X0542811101000000123456",
                       "3:Bianchi|IT60X0542811101000000123457"}
        << QList<int>{0, 0, 0, 0} << QString();
    QTest::newRow("from the file chooser, the usual names")
        << "normale.csv" << true << 0 << QList<int>{1, 2, 3, 0} << QStringList{} << QString()
        << QStringList{"Colonna 1: ABI|Colonna 2: CAB|Colonna 3: Conto", "2:5428|11101|123456"}
        << QList<int>{1, 2, 3, 0} << QString();
    QTest::newRow("from the file chooser, a usual name left out")
        << "normale.csv" << true << 0 << QList<int>{0, 0, 0, 0} << QStringList{} << QString()
        << QStringList{"Colonna 1: ABI|Colonna 2: CAB|Colonna 3: Conto", "2:5428|11101|123456"}
        << QList<int>{1, 2, 3, 0}
        << "Colonna 1: ABI, Colonna 2: CAB, Colonna 3: Conto: la sua intestazione la fa "
           "riconoscere, e sarà letta comunque.";
    QTest::newRow("Annulla") << "parziale.csv" << false << 0 << QList<int>{2, 3, 4, 0}
                             << QStringList() << QString()
                             << QStringList{"Colonna 1: Nome|Colonna 2: ABI|Colonna 3: "
                                            "Sportello|Colonna 4: Conto",
                                            "3:Rossi|5428|11101|123456", "4:Bianchi||1|2"}
                             << QList<int>{2, 0, 4, 0} << QString();
}

void TestColumnDialog::choicesGiveTheCliOutput() {
    QFETCH(QString, file);
    QFETCH(bool, fromChooser);
    QFETCH(int, sheetDowns);
    QFETCH(QList<int>, choices);
    QFETCH(QStringList, cliOptions);
    QFETCH(QString, sheets);
    QFETCH(QStringList, preview);
    QFETCH(QList<int>, preselected);
    QFETCH(QString, warning);
    const bool cancel = QByteArray(QTest::currentDataTag()) == "Annulla";
    const bool keepUsual = QByteArray(QTest::currentDataTag()).endsWith("left out");

    QTemporaryDir folder;
    QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("cli")));
    const QString input = folder.filePath(file);
    const QString stem = QFileInfo(file).completeBaseName();
    if (file.endsWith(QStringLiteral(".xlsx"))) {
        QVERIFY(zip_files::writeXlsx(
            input, {{QStringLiteral("Note"), Sheet{{"Solo appunti"}}},
                    {QStringLiteral("Conti"), Sheet{{"Banca", "Filiale", "Numero", "Nome"},
                                                    {"5428", "11101", "123456", "Rossi"},
                                                    {"", "11101", "7", "Bianchi"},
                                                    {"3069", "9606", "100012X", "Verdi"}}}}));
    } else if (file.endsWith(QStringLiteral(".ods"))) {
        QVERIFY(zip_files::writeOds(input, {{QStringLiteral("Foglio1"),
                                             Sheet{{"Cliente", "Coordinate"},
                                                   {"Rossi", "IT60X0542811101000000123456"},
                                                   {"Bianchi", "IT60X0542811101000000123457"}}}}));
    } else if (file == QStringLiteral("parziale.csv")) {
        QVERIFY(write(input, "Elenco;;;\nNome;ABI;Sportello;Conto\nRossi;5428;11101;123456\n"
                             "Bianchi;;1;2\n"));
    } else {
        QVERIFY(write(input, "ABI;CAB;Conto\n5428;11101;123456\n"));
    }
    ListWindow window;
    QSignalSpy done(&window.lists, &ListConversion::done);

    Dialog seen;
    bool asked = false;
    whenShown<ColumnDialog>([&](ColumnDialog* dialog) {
        asked = true;
        auto* sheet = dialog->findChild<QComboBox*>(QStringLiteral("cboFoglio"));
        for (int i = 0; i < sheetDowns; ++i) {
            QTest::keyClick(sheet, Qt::Key_Down);
        }
        seen.sheets = sheet->isVisible() ? offered(sheet) : QString();
        seen.preview = previewed(dialog->findChild<QTableWidget*>(QStringLiteral("tblAnteprima")));
        for (std::size_t i = 0; i < 4; ++i) {
            auto* combo = dialog->findChild<QComboBox*>(QLatin1String(kCombos[i]));
            seen.preselected << combo->currentIndex();
            combo->setCurrentIndex(choices[int(i)]);
        }
        const auto* note = dialog->findChild<QLabel*>(QStringLiteral("lblAvviso"));
        seen.warning = note->isVisible() ? note->text() : QString();
        auto* converti = dialog->findChild<QPushButton*>(QStringLiteral("cmdConverti"));
        QCOMPARE(converti->isEnabled(), !keepUsual);
        if (keepUsual) {
            // The usual names are read all the same: put back, they convert as bviban-cli does.
            for (std::size_t i = 0; i < 3; ++i) {
                dialog->findChild<QComboBox*>(QLatin1String(kCombos[i]))
                    ->setCurrentIndex(int(i) + 1);
            }
        }
        QTest::mouseClick(cancel ? dialog->findChild<QPushButton*>(QStringLiteral("cmdAnnulla"))
                                 : converti,
                          Qt::LeftButton);
    });
    if (!cancel) {
        whenShown<ResultsDialog>([](ResultsDialog* results) { results->reject(); });
    }
    if (fromChooser) {
        window.chosen = {input, true};
        window.form.findChild<QAction*>(QStringLiteral("mnuConverti"))->trigger();
    } else {
        dropFiles(&window.form, {input});
    }
    QTRY_VERIFY_WITH_TIMEOUT(asked, 30000);
    if (!fromChooser || !cancel) {
        QTRY_COMPARE_WITH_TIMEOUT(done.count(), 1, 30000);
    }
    QCOMPARE(seen.sheets, sheets);
    QCOMPARE(seen.preview, preview);
    QCOMPARE(seen.preselected, preselected);
    QCOMPARE(seen.warning, warning);

    const QString extension = file.endsWith(QStringLiteral(".csv")) ? ".csv" : ".xlsx";
    const QString written = folder.filePath(stem + "-IBAN" + extension);
    if (cancel) {
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files), QStringList{file});
        return;
    }
    const QString byCli = folder.filePath("cli/" + stem + "-IBAN" + extension);
    QProcess cli;
    cli.start(QStringLiteral(BVIBAN_CLI), QStringList{"converti", input, "-o", byCli} + cliOptions);
    QVERIFY(cli.waitForFinished(30000));
    QVERIFY2(QFile::exists(byCli), cli.readAllStandardError().constData());
    if (extension == QStringLiteral(".csv")) {
        QCOMPARE(readAll(written), readAll(byCli));
    } else {
        const QMap<QString, QByteArray> parts = workbookParts(written);
        QVERIFY(parts.size() > 5);
        QCOMPARE(parts, workbookParts(byCli));
    }
}

QTEST_MAIN(TestColumnDialog)
#include "tst_column_dialog.moc"
