#include "font_preload.h"
#include "look.h"

#include <QFile>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QRawFont>
#include <QTest>
#include <QTextLayout>

// The Windows faces of the designs, resolved as the program resolves them at start-up.
class DesignFontsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        if (!QFile::exists(QStringLiteral("/usr/share/wine/fonts/tahoma.ttf")))
            QSKIP("Debian's fonts-wine is not installed");
        look::preloadFonts().wait();
        look::listFonts().wait();
        look::registerFonts();
    }

    void faceShowsAsInstalledFamily_data() {
        QTest::addColumn<QString>("face");
        QTest::addColumn<QString>("family");
        QTest::newRow("MS Sans Serif") << "MS Sans Serif"
                                       << "Tahoma";
        QTest::newRow("Tahoma") << "Tahoma"
                                << "Tahoma";
        QTest::newRow("Verdana") << "Verdana"
                                 << "DejaVu Sans";
        QTest::newRow("Arial") << "Arial"
                               << "Liberation Sans";
    }

    void faceShowsAsInstalledFamily() {
        QFETCH(QString, face);
        QFETCH(QString, family);
        QCOMPARE(look::installedFamily(qPrintable(face)), family);
        for (const bool bold : {false, true}) {
            const QFontInfo drawn(look::vbFont(qPrintable(face), 9.75, bold));
            QCOMPARE(drawn.family(), family);
        }
    }

    // Tahoma is installed, so it keeps no substitute; a character it lacks still shows, taken from
    // a face on the fallback list that fontconfig gives when the character turns up.
    void installedFaceStillFallsBack() {
        QVERIFY(QFont::substitutes(QStringLiteral("Tahoma")).isEmpty());
        const QFont font = look::vbFont("Tahoma", 9.75);
        constexpr char32_t checkMark = 0x2713;
        QVERIFY(!QRawFont::fromFont(font).supportsCharacter(checkMark));
        QVERIFY(QFontMetrics(font).inFontUcs4(checkMark));
    }

    // Text is set as Windows set the designs' text: every character at its own advance, with no
    // kerning between pairs and no ligatures.
    void textIsSetWithoutKerningOrLigatures_data() {
        QTest::addColumn<QString>("face");
        QTest::addColumn<double>("points");
        QTest::addColumn<bool>("bold");
        QTest::newRow("IBAN, Arial 12.75 bold") << "Arial" << 12.75 << true;
        QTest::newRow("disclaimer, Arial 6.75 bold") << "Arial" << 6.75 << true;
        QTest::newRow("buttons, Tahoma 8.25") << "Tahoma" << 8.25 << false;
        QTest::newRow("ticker, Verdana 9.75 bold") << "Verdana" << 9.75 << true;
    }

    void textIsSetWithoutKerningOrLigatures() {
        QFETCH(QString, face);
        QFETCH(double, points);
        QFETCH(bool, bold);
        const QFont font = look::vbFont(qPrintable(face), points, bold);
        const QFontMetricsF metrics(font);
        for (const char* text : {"AV", "To", "Wa", "LT", "fi", "ffl"}) {
            const QString pair = QString::fromLatin1(text);
            qreal apart = 0;
            for (const QChar c : pair)
                apart += metrics.horizontalAdvance(c);
            QCOMPARE(metrics.horizontalAdvance(pair), apart);

            QTextLayout layout(pair, font);
            layout.beginLayout();
            layout.createLine();
            layout.endLayout();
            const QList<QGlyphRun> runs = layout.glyphRuns();
            QCOMPARE(runs.size(), 1);
            QCOMPARE(runs.first().glyphIndexes().size(), pair.size());
        }
    }

    // Only the regular Tahoma file is added: bold text is the regular face emboldened.
    void tahomaHasOnlyItsRegularFace() {
        QCOMPARE(QFontDatabase::styles(QStringLiteral("Tahoma")),
                 QStringList{QStringLiteral("Regular")});
    }
};

QTEST_MAIN(DesignFontsTest)
#include "tst_design_fonts.moc"
