#include "identity.h"
#include "look.h"

#include <QFile>
#include <QIcon>
#include <QImage>
#include <QImageReader>
#include <QRegularExpression>
#include <QSet>
#include <QtEndian>
#include <QtTest>

namespace {

QString resourcePath(const QString& name) {
    return QStringLiteral(BVIBAN_RESOURCES_DIR "/") + name;
}

QByteArray readResource(const QString& name) {
    QFile file(resourcePath(name));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

quint16 u16(const QByteArray& data, qsizetype at) {
    return qFromLittleEndian<quint16>(data.constData() + at);
}

quint32 u32(const QByteArray& data, qsizetype at) {
    return qFromLittleEndian<quint32>(data.constData() + at);
}

qint32 i32(const QByteArray& data, qsizetype at) {
    return qFromLittleEndian<qint32>(data.constData() + at);
}

// Skips a chain of GIF data sub-blocks and returns the offset after the terminator.
qsizetype skipSubBlocks(const QByteArray& gif, qsizetype at) {
    while (at < gif.size() && quint8(gif[at]) != 0)
        at += 1 + quint8(gif[at]);
    return at + 1;
}

} // namespace

class TestResources : public QObject {
    Q_OBJECT

private slots:
    void picturesShowTheirFilesPixels_data();
    void picturesShowTheirFilesPixels();
    void picturesHaveTheirDesignSizes_data();
    void picturesHaveTheirDesignSizes();
    void applicationIconHoldsOne32x32Image();
    void handPointerIsBlackOutlineWhiteFillWithHotSpotAtFingertip();
    void badgeShowsTheBoxThroughItsTransparentColour();
    void logoHasWhiteCorners();
    void badgeIsOneFrameGif89aWithSixteenColoursAndTransparency();
    void logoIsUncompressed24BitBitmap();
    void iconsAreBitmapEntriesOfTheirColourDepth_data();
    void iconsAreBitmapEntriesOfTheirColourDepth();
    void versionResourceMatchesIdentity();
};

// The program carries its pictures as pixels decoded while it is built; they must be the pixels
// that Qt reads from the picture files.
void TestResources::picturesShowTheirFilesPixels_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QPixmap>("picture");
    QTest::newRow("application icon") << "app.ico" << look::applicationIcon().pixmap(32, 32);
    QTest::newRow("hand pointer") << "hand.ico" << look::handCursor().pixmap();
    QTest::newRow("record badge") << "badge.gif" << look::badgePicture();
    QTest::newRow("vendor logo") << "logo.bmp" << look::logoPicture();
}

void TestResources::picturesShowTheirFilesPixels() {
    QFETCH(QString, file);
    QFETCH(QPixmap, picture);
    QImageReader reader(resourcePath(file));
    const QImage read = reader.read();
    QVERIFY2(!read.isNull(), qPrintable(reader.errorString()));
    // Compared as they are drawn: premultiplied, so that fully transparent pixels all match.
    QCOMPARE(picture.toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied),
             read.convertToFormat(QImage::Format_ARGB32_Premultiplied));
}

void TestResources::picturesHaveTheirDesignSizes_data() {
    QTest::addColumn<QPixmap>("picture");
    QTest::addColumn<QSize>("size");
    QTest::newRow("application icon") << look::applicationIcon().pixmap(32, 32) << QSize(32, 32);
    QTest::newRow("hand pointer") << look::handCursor().pixmap() << QSize(32, 32);
    QTest::newRow("record badge") << look::badgePicture() << QSize(50, 49);
    QTest::newRow("vendor logo") << look::logoPicture() << QSize(211, 56);
}

void TestResources::picturesHaveTheirDesignSizes() {
    QFETCH(QPixmap, picture);
    QFETCH(QSize, size);
    QVERIFY(!picture.isNull());
    QCOMPARE(picture.size(), size);
}

void TestResources::applicationIconHoldsOne32x32Image() {
    const QIcon icon = look::applicationIcon();
    QCOMPARE(icon.availableSizes(), QList<QSize>{QSize(32, 32)});

    // A card in several shades, not a flat square: transparent outside, many colours inside.
    const QImage image = icon.pixmap(32, 32).toImage();
    QSet<QRgb> colours;
    int transparent = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(image.pixel(x, y)) == 0)
                ++transparent;
            else
                colours.insert(image.pixel(x, y));
        }
    QVERIFY(transparent > 0);
    QVERIFY2(colours.size() > 16, qPrintable(QString::number(colours.size())));
}

void TestResources::handPointerIsBlackOutlineWhiteFillWithHotSpotAtFingertip() {
    const QCursor cursor = look::handCursor();
    QCOMPARE(cursor.shape(), Qt::BitmapCursor);
    const QImage hand = cursor.pixmap().toImage().convertToFormat(QImage::Format_ARGB32);

    int black = 0;
    int white = 0;
    int topmost = -1;
    for (int y = 0; y < hand.height(); ++y)
        for (int x = 0; x < hand.width(); ++x) {
            const QRgb p = hand.pixel(x, y);
            if (qAlpha(p) == 0)
                continue;
            QCOMPARE(qAlpha(p), 255);
            if (topmost < 0)
                topmost = y;
            if ((p & 0xFFFFFF) == 0x000000)
                ++black;
            else if ((p & 0xFFFFFF) == 0xFFFFFF)
                ++white;
            else
                QFAIL(qPrintable(QStringLiteral("colour %1 at %2,%3").arg(p, 0, 16).arg(x).arg(y)));
        }
    QVERIFY(black > 0);
    QVERIFY(white > black);
    QCOMPARE(qAlpha(hand.pixel(31, 31)), 0);

    // The hot spot is the tip of the raised finger: the topmost outline pixel.
    const QPoint tip = cursor.hotSpot();
    QCOMPARE(tip.y(), topmost);
    QCOMPARE(hand.pixel(tip), qRgba(0, 0, 0, 255));
    QCOMPARE(hand.pixel(tip + QPoint(0, 2)), qRgba(255, 255, 255, 255));
}

void TestResources::badgeShowsTheBoxThroughItsTransparentColour() {
    const QImage badge = look::badgePicture().toImage().convertToFormat(QImage::Format_ARGB32);
    QVERIFY(badge.hasAlphaChannel());
    for (const QPoint corner : {QPoint(0, 0), QPoint(49, 0), QPoint(0, 48), QPoint(49, 48)})
        QCOMPARE(qAlpha(badge.pixel(corner)), 0);
    QCOMPARE(qAlpha(badge.pixel(25, 20)), 255);
}

void TestResources::logoHasWhiteCorners() {
    const QImage logo = look::logoPicture().toImage();
    for (const QPoint corner : {QPoint(0, 0), QPoint(210, 0), QPoint(0, 55), QPoint(210, 55)})
        QCOMPARE(logo.pixel(corner), qRgb(255, 255, 255));
}

void TestResources::badgeIsOneFrameGif89aWithSixteenColoursAndTransparency() {
    const QByteArray gif = readResource(QStringLiteral("badge.gif"));
    QVERIFY(gif.size() > 13);
    QCOMPARE(gif.left(6), QByteArray("GIF89a"));
    QCOMPARE(u16(gif, 6), 50);
    QCOMPARE(u16(gif, 8), 49);
    const quint8 screen = quint8(gif[10]);
    QVERIFY2(screen & 0x80, "no global colour table");
    QCOMPARE(2 << (screen & 0x07), 16);

    int frames = 0;
    int transparentIndex = -1;
    qsizetype at = 13 + 16 * 3;
    while (at < gif.size() && gif[at] != ';') {
        const char block = gif[at];
        if (block == '!') {
            const quint8 label = quint8(gif[at + 1]);
            if (label == 0xF9 && (quint8(gif[at + 3]) & 0x01))
                transparentIndex = quint8(gif[at + 6]);
            at = skipSubBlocks(gif, at + 2);
        } else if (block == ',') {
            ++frames;
            const quint8 packed = quint8(gif[at + 9]);
            at += 10;
            if (packed & 0x80)
                at += 3 * (2 << (packed & 0x07));
            at = skipSubBlocks(gif, at + 1);
        } else {
            QFAIL(qPrintable(QStringLiteral("unknown block at %1").arg(at)));
        }
    }
    QCOMPARE(at, gif.size() - 1);
    QCOMPARE(frames, 1);
    QVERIFY(transparentIndex >= 0 && transparentIndex < 16);
}

void TestResources::logoIsUncompressed24BitBitmap() {
    const QByteArray bmp = readResource(QStringLiteral("logo.bmp"));
    QVERIFY(bmp.size() > 54);
    QCOMPARE(bmp.left(2), QByteArray("BM"));
    QCOMPARE(u32(bmp, 2), quint32(bmp.size()));
    const quint32 pixels = u32(bmp, 10);
    QCOMPARE(u32(bmp, 14), 40u);
    QCOMPARE(i32(bmp, 18), 211);
    const qint32 height = i32(bmp, 22);
    QCOMPARE(qAbs(height), 56);
    QCOMPARE(u16(bmp, 26), 1);
    QCOMPARE(u16(bmp, 28), 24);
    QCOMPARE(u32(bmp, 30), 0u); // BI_RGB

    const int stride = (211 * 3 + 3) & ~3;
    QCOMPARE(quint32(bmp.size()), pixels + quint32(stride * 56));
    for (const int row : {0, 55})
        for (const int column : {0, 210}) {
            const QByteArray bgr = bmp.mid(pixels + row * stride + column * 3, 3);
            QCOMPARE(bgr, QByteArray("\xFF\xFF\xFF"));
        }
}

void TestResources::iconsAreBitmapEntriesOfTheirColourDepth_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("bitsPerPixel");
    QTest::addColumn<int>("colourCount");
    QTest::newRow("application icon, 256 colours") << QStringLiteral("app.ico") << 8 << 0;
    QTest::newRow("hand pointer, 16 colours") << QStringLiteral("hand.ico") << 4 << 16;
}

void TestResources::iconsAreBitmapEntriesOfTheirColourDepth() {
    QFETCH(QString, file);
    QFETCH(int, bitsPerPixel);
    QFETCH(int, colourCount);

    const QByteArray ico = readResource(file);
    QVERIFY(ico.size() > 6 + 16 + 40);
    QCOMPARE(u16(ico, 0), 0);
    QCOMPARE(u16(ico, 2), 1);
    QCOMPARE(u16(ico, 4), 1);

    QCOMPARE(quint8(ico[6]), 32);
    QCOMPARE(quint8(ico[7]), 32);
    QCOMPARE(int(quint8(ico[8])), colourCount);
    QCOMPARE(u16(ico, 10), 1);
    QCOMPARE(int(u16(ico, 12)), bitsPerPixel);
    const quint32 length = u32(ico, 14);
    const quint32 offset = u32(ico, 18);
    QCOMPARE(offset + length, quint32(ico.size()));

    // A bitmap entry, not a PNG: BITMAPINFOHEADER with the colour and mask images stacked.
    QCOMPARE(u32(ico, offset), 40u);
    QCOMPARE(i32(ico, offset + 4), 32);
    QCOMPARE(i32(ico, offset + 8), 64);
    QCOMPARE(int(u16(ico, offset + 14)), bitsPerPixel);
    QCOMPARE(u32(ico, offset + 16), 0u);
    const quint32 palette = 4u << bitsPerPixel;
    const quint32 colourImage = 32 * 32 * bitsPerPixel / 8;
    const quint32 mask = 32 * 4;
    QCOMPARE(length, 40 + palette + colourImage + mask);
}

void TestResources::versionResourceMatchesIdentity() {
    QFile file(QStringLiteral(BVIBAN_RESOURCES_DIR "/bviban.rc"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    // No code page is declared, so the texts must stay ASCII.
    for (const char c : bytes)
        QVERIFY(quint8(c) < 0x80);
    const QString rc = QString::fromLatin1(bytes);

    const QStringList parts = QString::fromLatin1(identity::kVersion).split(QLatin1Char('.'));
    QCOMPARE(parts.size(), 4);
    const QString numbers = parts.join(QStringLiteral(", "));
    const QString text = QStringLiteral("%1.%2.%3")
                             .arg(parts[0])
                             .arg(parts[1].toInt(), 2, 10, QLatin1Char('0'))
                             .arg(parts[3].toInt(), 4, 10, QLatin1Char('0'));
    QCOMPARE(text, QStringLiteral("1.00.0025"));

    const auto value = [&rc](const QString& key) {
        const QRegularExpression re(QStringLiteral("VALUE \"%1\", \"([^\"]*)\"").arg(key));
        return re.match(rc).captured(1);
    };
    QVERIFY(rc.contains(QStringLiteral("FILEVERSION ") + numbers));
    QVERIFY(rc.contains(QStringLiteral("PRODUCTVERSION ") + numbers));
    QVERIFY(rc.contains(QStringLiteral("BLOCK \"041004B0\"")));
    QVERIFY(rc.contains(QStringLiteral("VALUE \"Translation\", 0x0410, 1200")));
    QVERIFY(rc.contains(QStringLiteral("1 ICON \"app.ico\"")));
    QCOMPARE(value(QStringLiteral("FileVersion")), text);
    QCOMPARE(value(QStringLiteral("ProductVersion")), text);
    QCOMPARE(value(QStringLiteral("InternalName")), QString::fromLatin1(identity::kProjectName));
    QCOMPARE(value(QStringLiteral("CompanyName")), QStringLiteral("Brivanta"));
    QCOMPARE(value(QStringLiteral("ProductName")), QStringLiteral("Quorvel"));
}

QTEST_MAIN(TestResources)
#include "test_resources.moc"
