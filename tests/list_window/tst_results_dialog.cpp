// The results of a conversion as a user reads them: exactly the rows that got a reason, with
// their numbers as a spreadsheet shows them, their key fields and the reason, never more than
// a thousand of them; the output and its folder opened, or a path to copy when they cannot be.

#include "list_window_fixture.h"
#include "results_dialog.h"

#include <QAbstractItemModel>
#include <QClipboard>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTableView>
#include <QTemporaryDir>

namespace {

// The fields of a CSV line written with ";", quotes doubled inside quoted fields.
QStringList fieldsOf(const QString& line) {
    QStringList fields = {QString()};
    bool quoted = false;
    for (int i = 0; i < line.size(); ++i) {
        const QChar c = line[i];
        if (c == '"' && quoted && i + 1 < line.size() && line[i + 1] == '"') {
            fields.last() += c;
            ++i;
        } else if (c == '"') {
            quoted = !quoted;
        } else if (c == ';' && !quoted) {
            fields << QString();
        } else {
            fields.last() += c;
        }
    }
    return fields;
}

// The rows whose Esito is a reason, as the output file has them: "number|key fields|reason".
QStringList reasonRowsIn(const QByteArray& output, const QList<int>& keyColumns) {
    QStringList lines =
        QString::fromUtf8(output.mid(3)).split(QRegularExpression(QStringLiteral("\r?\n")));
    int esito = -1;
    QStringList rows;
    for (int i = 0; i < lines.size(); ++i) {
        const QStringList fields = fieldsOf(lines[i]);
        if (esito < 0) {
            esito = int(fields.indexOf(QStringLiteral("Esito")));
            continue;
        }
        if (fields.size() <= esito || fields[esito].isEmpty() ||
            fields[esito] == QStringLiteral("OK")) {
            continue;
        }
        QStringList row = {QString::number(i + 1)};
        for (const int column : keyColumns) {
            row << fields[column];
        }
        rows << (row << fields[esito]).join('|');
    }
    return rows;
}

QByteArray manyRows(int count) {
    QByteArray list = "ABI;CAB;Conto\n";
    for (int i = 1; i <= count; ++i) {
        list += (i % 2 == 0 ? "5428;11101;" : ";11101;") + QByteArray::number(i) + '\n';
    }
    return list;
}

} // namespace

class TestResultsDialog : public QObject {
    Q_OBJECT

private slots:
    void rowsWithAReason_data();
    void rowsWithAReason();
    void fileAndFolderOpened();
};

void TestResultsDialog::rowsWithAReason_data() {
    QTest::addColumn<QByteArray>("list");
    QTest::addColumn<QList<int>>("keyColumns");
    QTest::addColumn<QStringList>("headers");
    QTest::addColumn<int>("kept");
    QTest::addColumn<QString>("more");

    const QStringList calcolo = {"Riga", "ABI", "CAB", "Conto", "Motivo"};
    QTest::newRow("computed, a title above the header")
        << QByteArray("Fornitori 2024;;;\nNome;ABI;CAB;Conto\nRossi;5428;11101;123456\n"
                      "Bianchi;;1;2\n;;;\nVerdi;1;1;\nGialli;1;1;1234567890123\n"
                      "Neri;5428;11101;123456\n")
        << QList<int>{1, 2, 3} << calcolo << 3 << QString();
    QTest::newRow("checked") << QByteArray(
                                    "Cliente;IBAN\nA;IT60X0542811101000000123456\n"
                                    "B;IT60X0542811101000000123457\nC;\nD;GB82WEST12345698765432\n"
                                    "E;IT60 X054 2811 1010 0000 0123 465\n")
                             << QList<int>{1} << QStringList{"Riga", "IBAN", "Motivo"} << 3
                             << QString();
    QTest::newRow("compared")
        << QByteArray("ABI;CAB;Conto;IBAN\n5428;11101;123456;IT60X0542811101000000123456\n"
                      "5428;11101;123457;IT60X0542811101000000123456\n")
        << QList<int>{0, 1, 2, 3} << QStringList{"Riga", "ABI", "CAB", "Conto", "IBAN", "Motivo"}
        << 1 << QString();
    QTest::newRow("a thousand shown of 1,300")
        << manyRows(2600) << QList<int>{0, 1, 2} << calcolo << 1000
        << QStringLiteral("Altre 300 righe con un motivo non sono elencate qui: sono nel file "
                          "convertito, con il loro motivo nella colonna Esito.");
    QTest::newRow("a thousand and one")
        << manyRows(2002) << QList<int>{0, 1, 2} << calcolo << 1000
        << QStringLiteral("Un'altra riga con un motivo non è elencata qui: è nel file "
                          "convertito, con il suo motivo nella colonna Esito.");
}

// The table holds exactly the output's rows whose Esito is a reason, in order, up to a
// thousand; a line says how many more there are.
void TestResultsDialog::rowsWithAReason() {
    QFETCH(QByteArray, list);
    QFETCH(QList<int>, keyColumns);
    QFETCH(QStringList, headers);
    QFETCH(int, kept);
    QFETCH(QString, more);
    QTemporaryDir folder;
    const QString input = folder.filePath(QStringLiteral("elenco.csv"));
    QVERIFY(write(input, list));
    ListWindow window;
    QSignalSpy done(&window.lists, &ListConversion::done);

    QStringList shown;
    QStringList shownHeaders;
    QString tableName;
    QString moreShown;
    whenShown<ResultsDialog>([&](ResultsDialog* results) {
        auto* table = results->findChild<QTableView*>(QStringLiteral("tblMotivi"));
        const QAbstractItemModel* model = table->model();
        tableName = table->accessibleName();
        for (int column = 0; column < model->columnCount(); ++column) {
            shownHeaders << model->headerData(column, Qt::Horizontal).toString();
        }
        for (int row = 0; row < model->rowCount(); ++row) {
            QStringList cells;
            for (int column = 0; column < model->columnCount(); ++column) {
                cells << model->index(row, column).data().toString();
            }
            shown << cells.join('|');
        }
        const auto* altre = results->findChild<QLabel*>(QStringLiteral("lblAltre"));
        moreShown = altre->isVisible() ? altre->text() : QString();
        QTest::mouseClick(results->findChild<QPushButton*>(QStringLiteral("cmdChiudi")),
                          Qt::LeftButton);
    });
    dropFiles(&window.form, {input});
    QVERIFY(done.wait(60000));

    const QStringList expected =
        reasonRowsIn(readAll(folder.filePath(QStringLiteral("elenco-IBAN.csv"))), keyColumns);
    QVERIFY(expected.size() >= kept);
    QCOMPARE(shown.size(), kept);
    QCOMPARE(shown, expected.mid(0, kept));
    QCOMPARE(shownHeaders, headers);
    QCOMPARE(tableName, QStringLiteral("Righe con un motivo"));
    QCOMPARE(moreShown, more);
}

// "Apri il file" and "Apri la cartella" hand the output and its folder to the launcher; when it
// cannot open them, the user reads the full path, and copies it with one button.
void TestResultsDialog::fileAndFolderOpened() {
    QTemporaryDir folder;
    const QString input = folder.filePath(QStringLiteral("lista.csv"));
    QVERIFY(write(input, "ABI;CAB;Conto\n5428;11101;123456\n"));
    const QString output = QDir(folder.path()).absoluteFilePath(QStringLiteral("lista-IBAN.csv"));
    ListWindow window;
    QSignalSpy done(&window.lists, &ListConversion::done);

    QStringList failures;
    const auto copyFromFailure = [&failures] {
        whenShown<QDialog>([&failures](QDialog* box) {
            QCOMPARE(box->objectName(), QStringLiteral("frmApriFallito"));
            auto* path = box->findChild<QLineEdit*>(QStringLiteral("txtPercorso"));
            QTest::mouseClick(box->findChild<QPushButton*>(QStringLiteral("cmdCopia")),
                              Qt::LeftButton);
            failures << box->findChild<QLabel*>(QStringLiteral("lblMessaggio"))->text() + '|' +
                            path->text() + '|' + QGuiApplication::clipboard()->text();
            box->accept();
        });
    };
    whenShown<ResultsDialog>([&](ResultsDialog* results) {
        const auto press = [results](const char* name) {
            QTest::mouseClick(results->findChild<QPushButton*>(QLatin1String(name)),
                              Qt::LeftButton);
        };
        press("cmdApriFile");
        press("cmdApriCartella");
        window.launcher.nextHandle = 0;
        copyFromFailure();
        press("cmdApriFile");
        copyFromFailure();
        press("cmdApriCartella");
        QVERIFY(results->isVisible());
        press("cmdChiudi");
    });
    dropFiles(&window.form, {input});
    QVERIFY(done.wait(30000));

    QStringList opened;
    for (const RecordingLauncher::Launch& launch : window.launcher.launches) {
        opened << launch.target;
    }
    QCOMPARE(opened, (QStringList{output, folder.path(), output, folder.path()}));
    QCOMPARE(window.launcher.released, (QList<shell::ProcessHandle>{4242, 4242}));
    const QString file = QDir::toNativeSeparators(output);
    const QString where = QDir::toNativeSeparators(QDir(folder.path()).absolutePath());
    QCOMPARE(failures,
             (QStringList{"Non riesco ad aprire il file «lista-IBAN.csv»: il sistema non ha un "
                          "programma che lo apra. Il file è qui:|" +
                              file + '|' + file,
                          "Non riesco ad aprire la cartella: il sistema non ha un programma che "
                          "la apra. La cartella è questa:|" +
                              where + '|' + where}));
}

QTEST_MAIN(TestResultsDialog)
#include "tst_results_dialog.moc"
