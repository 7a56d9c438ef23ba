#include "font_preload.h"

#include <QTest>

#include <fontconfig/fontconfig.h>

#include <cstdlib>
#include <memory>

namespace {

struct PatternDeleter {
    void operator()(FcPattern* pattern) const { FcPatternDestroy(pattern); }
};
using Pattern = std::unique_ptr<FcPattern, PatternDeleter>;

struct ConfigDeleter {
    void operator()(FcConfig* config) const { FcConfigDestroy(config); }
};

QByteArray unparse(FcPattern* pattern) {
    FcChar8* text = FcNameUnparse(pattern);
    const QByteArray copy(reinterpret_cast<const char*>(text));
    std::free(text);
    return copy;
}

// What a font request becomes in a configuration: the request after its substitutions, and the
// face it is given.
QByteArray resolve(FcConfig* config, const QByteArray& family, int weight) {
    Pattern request(FcPatternCreate());
    FcPatternAddString(request.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(family.data()));
    FcPatternAddInteger(request.get(), FC_WEIGHT, weight);
    FcPatternAddDouble(request.get(), FC_PIXEL_SIZE, 11);
    FcConfigSubstitute(config, request.get(), FcMatchPattern);
    FcDefaultSubstitute(request.get());
    FcResult result = FcResultNoMatch;
    const Pattern match(FcFontMatch(config, request.get(), &result));
    return unparse(request.get()) + "\n=> " + (match ? unparse(match.get()) : QByteArray("none"));
}

} // namespace

// The configuration that the program reads ahead is the one fontconfig reads by itself.
class FontConfigurationTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        look::preloadFonts().wait();
        m_default.reset(FcInitLoadConfigAndFonts());
        QVERIFY(m_default != nullptr);
        // The preload adds the Tahoma-compatible face where it is installed; so does the
        // reference.
        FcConfigAppFontAddFile(
            m_default.get(), reinterpret_cast<const FcChar8*>("/usr/share/wine/fonts/tahoma.ttf"));
    }

    void requestResolvesAsByDefault_data() {
        QTest::addColumn<QByteArray>("family");
        QTest::addColumn<int>("weight");
        for (const char* family : {"MS Sans Serif", "Tahoma", "Verdana", "Arial", "sans-serif",
                                   "serif", "monospace", "Helvetica", "Noto Sans CJK SC"}) {
            QTest::addRow("%s regular", family) << QByteArray(family) << int(FC_WEIGHT_REGULAR);
            QTest::addRow("%s bold", family) << QByteArray(family) << int(FC_WEIGHT_BOLD);
        }
    }

    void requestResolvesAsByDefault() {
        QFETCH(QByteArray, family);
        QFETCH(int, weight);
        QCOMPARE(resolve(FcConfigGetCurrent(), family, weight),
                 resolve(m_default.get(), family, weight));
    }

    void readsTheSameFilesAndFolders() {
        const auto count = [](FcStrList* list) {
            int n = 0;
            while (FcStrListNext(list) != nullptr)
                ++n;
            FcStrListDone(list);
            return n;
        };
        FcConfig* current = FcConfigGetCurrent();
        QCOMPARE(count(FcConfigGetConfigFiles(current)),
                 count(FcConfigGetConfigFiles(m_default.get())));
        QCOMPARE(count(FcConfigGetFontDirs(current)), count(FcConfigGetFontDirs(m_default.get())));
        QCOMPARE(count(FcConfigGetCacheDirs(current)),
                 count(FcConfigGetCacheDirs(m_default.get())));
    }

    // Fontconfig's patterns hold their values at offsets, which a leak checker cannot follow:
    // everything is released before it looks.
    void cleanupTestCase() {
        m_default.reset();
        FcFini();
    }

private:
    std::unique_ptr<FcConfig, ConfigDeleter> m_default;
};

QTEST_GUILESS_MAIN(FontConfigurationTest)
#include "tst_font_configuration.moc"
