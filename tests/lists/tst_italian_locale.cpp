// The lists in an Italian locale, as the main window runs them: Qt sets the user's locale, in
// which the C library writes "12,5". What the lists write must not change with it.

#include "conversion.h"
#include "number_text.h"
#include "xlsx_reader.h"
#include "xlsx_writer.h"
#include "zip_archive.h"

#include <QTemporaryDir>
#include <QTest>

#include <chrono>
#include <clocale>
#include <regex>

using namespace std::chrono_literals;

namespace {

// A row as the test compares it: each cell's kind and text.
using Row = std::vector<std::pair<lists::Cell::Kind, std::string>>;

struct Rows : lists::RowSink {
    std::vector<Row> rows;
    void row(std::span<const lists::Cell> cells, std::string_view) override {
        Row& row = rows.emplace_back();
        for (const lists::Cell& cell : cells) {
            row.emplace_back(cell.kind, cell.text);
        }
    }
};

lists::Cell number(double value, std::string_view text) {
    return {text, value, lists::Cell::Kind::Number};
}

} // namespace

class TestItalianLocale : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void durationText_data();
    void durationText();
    void xlsxKeepsItsNumbers();
};

// Without the locale the test would prove nothing.
void TestItalianLocale::initTestCase() {
    QCOMPARE(std::localeconv()->decimal_point, ",");
}

void TestItalianLocale::durationText_data() {
    QTest::addColumn<double>("seconds");
    QTest::addColumn<QString>("text");
    QTest::newRow("under a second") << 0.84 << "0,8 s";
    QTest::newRow("rounded up") << 9.96 << "10,0 s";
    QTest::newRow("a minute") << 59.96 << "1 min 0 s";
    QTest::newRow("minutes") << 125.4 << "2 min 5 s";
}

void TestItalianLocale::durationText() {
    QFETCH(double, seconds);
    QFETCH(QString, text);
    const auto elapsed =
        std::chrono::duration_cast<std::chrono::steady_clock::duration>(seconds * 1s);
    QCOMPARE(QString::fromStdString(lists::durationText(elapsed)), text);
}

// A workbook converted into a workbook: its numbers stay numbers, and nothing in the sheet's
// XML (values, column widths) has a decimal comma, which no spreadsheet would read.
void TestItalianLocale::xlsxKeepsItsNumbers() {
    QTemporaryDir folder;
    const std::filesystem::path input = folder.filePath(QStringLiteral("lista.xlsx")).toStdString();
    std::setlocale(LC_NUMERIC, "C"); // the input as any spreadsheet writes it
    {
        std::FILE* file = std::fopen(input.c_str(), "wb");
        lists::XlsxWriter writer(file, "lista.xlsx", "Foglio1");
        const lists::Cell header[] = {{"ABI"}, {"CAB"}, {"Conto"}, {"Importo"}};
        const lists::Cell row[] = {number(5428, "5428"), number(11101, "11101"),
                                   number(123456, "123456"), number(12.5, "12.5")};
        writer.write(header, {}, 0, {});
        writer.write(row, {}, 0, {});
        writer.finish();
        std::fclose(file);
    }
    std::setlocale(LC_NUMERIC, "");

    lists::ConversionRequest request;
    request.input = input;
    lists::convert(request);

    const std::filesystem::path output =
        folder.filePath(QStringLiteral("lista-IBAN.xlsx")).toStdString();
    Rows read;
    lists::XlsxReader(output, "lista-IBAN.xlsx", lists::SheetChoice("")).readAll(read);
    using Kind = lists::Cell::Kind;
    const std::vector<Row> expected = {{{Kind::Text, "ABI"},
                                        {Kind::Text, "CAB"},
                                        {Kind::Text, "Conto"},
                                        {Kind::Text, "Importo"},
                                        {Kind::Text, "IBAN"},
                                        {Kind::Text, "Esito"}},
                                       {{Kind::Number, "5428"},
                                        {Kind::Number, "11101"},
                                        {Kind::Number, "123456"},
                                        {Kind::Number, "12.5"},
                                        {Kind::Text, "IT60X0542811101000000123456"},
                                        {Kind::Text, "OK"}}};
    QVERIFY(read.rows == expected);
    const lists::ZipArchive archive(output, "lista-IBAN.xlsx");
    const auto sheet = archive.open("xl/worksheets/sheet1.xml");
    std::string xml(1 << 20, '\0');
    xml.resize(sheet->read(xml.data(), xml.size()));
    QVERIFY(xml.find("<sheetData>") != std::string::npos);
    QVERIFY(!std::regex_search(xml, std::regex("[0-9],[0-9]")));
}

QTEST_GUILESS_MAIN(TestItalianLocale)
#include "tst_italian_locale.moc"
