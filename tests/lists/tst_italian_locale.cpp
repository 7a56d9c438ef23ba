// The lists in an Italian locale, as the main window runs them: Qt sets the user's locale, in
// which the C library writes "12,5". What the lists write must not change with it.

#include "number_text.h"

#include <QTest>

#include <chrono>
#include <clocale>

using namespace std::chrono_literals;

class TestItalianLocale : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void durationText_data();
    void durationText();
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

QTEST_GUILESS_MAIN(TestItalianLocale)
#include "tst_italian_locale.moc"
