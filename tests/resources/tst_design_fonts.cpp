#include "font_preload.h"
#include "look.h"

#include <QFile>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QRawFont>
#include <QTest>

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

    // Only the regular Tahoma file is added: bold text is the regular face emboldened.
    void tahomaHasOnlyItsRegularFace() {
        QCOMPARE(QFontDatabase::styles(QStringLiteral("Tahoma")),
                 QStringList{QStringLiteral("Regular")});
    }
};

QTEST_MAIN(DesignFontsTest)
#include "tst_design_fonts.moc"
