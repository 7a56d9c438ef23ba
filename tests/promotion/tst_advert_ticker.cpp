#include "font_preload.h"
#include "identity.h"
#include "look.h"
#include "promotion_window.h"

#include <QLabel>
#include <QSet>
#include <QTest>
#include <QTimer>
#include <memory>

// The ticker driven one step at a time, with the layout's rest position 3630 and height 255.
class AdvertTickerTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<PromotionWindow> w;
    const SpotTable spots = advertSpots();

    QLabel* spot() const { return w->c.TxtSpot; }
    double top() const { return look::twipsTop(spot()); }
    QString tag() const { return spot()->property("Tag").toString(); }
    void step() { w->panel.Timer1_Timer(); }
    bool isReading() const {
        return look::foreColor(spot()) == look::kCyan && w->c.Timer1->interval() == 170;
    }
    bool isFast() const {
        return look::foreColor(spot()) == look::kYellow && w->c.Timer1->interval() == 1;
    }
    // Steps until the ticker wraps; returns the steps taken and the tops of the reading ones.
    int stepToWrap(QList<double>* readingTops = nullptr) {
        const QString before = tag();
        for (int steps = 1; steps <= 1000; ++steps) {
            const double from = top();
            step();
            if (readingTops && isReading()) {
                readingTops->append(from);
            }
            if (tag() != before || top() > from) {
                return steps;
            }
        }
        return -1;
    }

private slots:
    void initTestCase() {
        // The program's fonts, prepared as main() prepares them.
        look::preloadFonts().wait();
        look::registerFonts();
    }
    void init() {
        w = std::make_unique<PromotionWindow>();
        w->stopTimers();
    }
    void cleanup() { w.reset(); }

    void advertTableHasTenAdvertsWithTheFirstThreeTimes() {
        QSet<QString> others;
        for (int row = 0; row < 12; ++row) {
            const SpotEntry& s = spots[row];
            QVERIFY2(s.Headline.size() >= 46 && s.Headline.size() <= 61, qPrintable(s.Headline));
            QVERIFY2(s.Url.startsWith(QStringLiteral("http://www.brivanta.example/")),
                     qPrintable(s.Url));
            if (row == 3 || row == 9) {
                QCOMPARE(s.Headline, spots[0].Headline);
                QCOMPARE(s.Url, spots[0].Url);
            } else if (row != 0) {
                QVERIFY(s.Headline != spots[0].Headline && s.Url != spots[0].Url);
                others.insert(s.Headline);
                others.insert(s.Url);
            }
        }
        QCOMPARE(others.size(), 18);
    }

    // The ticker's line is as wide as the window: a longer headline would wrap out of sight.
    void everyHeadlineFitsOnTheTickerLine() {
        const QFontMetrics metrics(spot()->font());
        for (const SpotEntry& s : spots) {
            QVERIFY2(metrics.horizontalAdvance(s.Headline) <= spot()->contentsRect().width(),
                     qPrintable(QStringLiteral("%1: %2 px")
                                    .arg(s.Headline)
                                    .arg(metrics.horizontalAdvance(s.Headline))));
        }
    }

    void loadShowsTheFirstAdvertAtRest() {
        QCOMPARE(spot()->text(), spots[0].Headline);
        QCOMPARE(top(), 3630.0);
        QCOMPARE(tag(), QString());
        QCOMPARE(w->c.RecordDownload->text(),
                 QStringLiteral("il 18 luglio 2008 \u00ABQuorvel\u00BB ha raggiunto quota 20.000 "
                                "DOWNLOAD !"));
        const QLabel* contacts = w->c.bvRecapiti;
        const QStringList lines = contacts->text().split(QStringLiteral("\r\n"));
        QCOMPARE(lines.size(), 2);
        QVERIFY(!lines[0].isEmpty() && !lines[1].isEmpty());
        // Both texts show whole in their labels, the contacts on two lines.
        const int lineHeight = QFontMetrics(contacts->font()).lineSpacing();
        QVERIFY(contacts->heightForWidth(contacts->width()) >= 2 * lineHeight);
        QVERIFY(contacts->heightForWidth(contacts->width()) <= contacts->height());
        const QLabel* notice = w->c.RecordDownload;
        QVERIFY(notice->heightForWidth(notice->width()) <= notice->height());
    }

    void firstCycleReadsEightStepsThenWrapsAfterSixtyFour() {
        for (int i = 0; i < 8; ++i) {
            QCOMPARE(top(), 3630.0 - 4 * i);
            step();
            QVERIFY(isReading());
        }
        QCOMPARE(top(), 3598.0);
        for (int i = 8; i < 63; ++i) {
            step();
            QVERIFY(isFast());
            QCOMPARE(spot()->text(), spots[0].Headline);
        }
        QCOMPARE(top(), 3378.0);
        step();
        QCOMPARE(top(), 3885.0);
        QCOMPARE(spot()->text(), spots[1].Headline);
        QCOMPARE(tag(), QStringLiteral("1"));
    }

    void laterCyclesTake128StepsAndShowRowsOneToElevenThenZero() {
        QCOMPARE(stepToWrap(), 64);
        QList<double> expectedReading;
        for (double t = 3657; t >= 3601; t -= 4) {
            expectedReading.append(t);
        }
        QCOMPARE(expectedReading.size(), 15);
        for (int wrap = 2; wrap <= 13; ++wrap) {
            QList<double> reading;
            QCOMPARE(stepToWrap(&reading), 128);
            QCOMPARE(reading, expectedReading);
            QCOMPARE(top(), 3885.0);
            const int row = wrap % 12;
            QCOMPARE(tag(), QString::number(row));
            QCOMPARE(spot()->text(), spots[row].Headline);
        }
    }

    void readingBandEdges_data() {
        QTest::addColumn<double>("from");
        QTest::addColumn<bool>("fast");
        QTest::newRow("rest") << 3630.0 << false;
        QTest::newRow("30 above") << 3600.0 << true;
        QTest::newRow("29.5 above") << 3600.5 << false;
        QTest::newRow("30 below") << 3660.0 << true;
        QTest::newRow("29.5 below") << 3659.5 << false;
    }
    void readingBandEdges() {
        QFETCH(double, from);
        QFETCH(bool, fast);
        look::setTwipsTop(spot(), from);
        step();
        QCOMPARE(top(), from - 4);
        QVERIFY(fast ? isFast() : isReading());
    }

    void bottomEdgeOnTheRestPositionDoesNotWrap() {
        look::setTwipsTop(spot(), 3379);
        step();
        QCOMPARE(top(), 3375.0);
        QCOMPARE(spot()->text(), spots[0].Headline);
        step();
        QCOMPARE(top(), 3885.0);
        QCOMPARE(spot()->text(), spots[1].Headline);
    }

    void labelPixelsFollowItsTwips() {
        const QRect start = spot()->geometry();
        QCOMPARE(start.y(), 3630 / 15);
        for (int i = 1; i <= 200; ++i) {
            step();
            QVERIFY(qAbs(spot()->y() * look::kTwipsPerPixel - top()) <= 7.5);
            QCOMPARE(spot()->x(), start.x());
            QCOMPARE(spot()->size(), start.size());
            if (i == 64) {
                QCOMPARE(spot()->y(), 3885 / 15);
            }
        }
    }

    void clickBeforeTheFirstWrapOpensTheFirstAdvert() {
        for (int i = 0; i < 10; ++i) {
            step();
        }
        const double before = top();
        QTest::mouseClick(spot(), Qt::LeftButton);
        QCOMPARE(w->launcher.openedUrls, QList<QString>{spots[0].Url});
        QCOMPARE(top(), before);
        QVERIFY(isFast());
        QCOMPARE(tag(), QString());
    }

    void clickWhileFastOpensTheShownAdvert() {
        for (int wrap = 0; wrap < 5; ++wrap) {
            stepToWrap();
        }
        step();
        step();
        QVERIFY(isFast());
        QCOMPARE(spot()->text(), spots[5].Headline);
        QTest::mouseClick(spot(), Qt::LeftButton);
        QCOMPARE(w->launcher.openedUrls, QList<QString>{spots[5].Url});
    }

    void tagsTheTickerNeverWrites_data() {
        QTest::addColumn<QString>("tagText");
        QTest::addColumn<int>("clickedRow"); // -1: the click opens nothing
        QTest::addColumn<QString>("tagAfterWrap");
        QTest::addColumn<int>("rowAfterWrap");
        QTest::newRow("past the table") << "12" << -1 << "0" << 0;
        QTest::newRow("far past") << "99999999999999999999999" << -1 << "0" << 0;
        QTest::newRow("negative") << "-1" << -1 << "0" << 0;
        QTest::newRow("very negative") << "-7" << -1 << "0" << 0;
        QTest::newRow("no number") << "abc" << 0 << "1" << 1;
        QTest::newRow("number then text") << "7abc" << 7 << "8" << 8;
        QTest::newRow("leading blank") << " 4" << 4 << "5" << 5;
        QTest::newRow("half to even, down") << "2.5" << 2 << "3.5" << 4;
        QTest::newRow("half to even, up") << "3.5" << 4 << "4.5" << 4;
        QTest::newRow("rounds past the table") << "11.6" << -1 << "0" << 0;
    }
    void tagsTheTickerNeverWrites() {
        QFETCH(QString, tagText);
        QFETCH(int, clickedRow);
        QFETCH(QString, tagAfterWrap);
        QFETCH(int, rowAfterWrap);
        spot()->setProperty("Tag", tagText);
        QTest::mouseClick(spot(), Qt::LeftButton);
        QCOMPARE(w->launcher.openedUrls,
                 clickedRow < 0 ? QList<QString>{} : QList<QString>{spots[clickedRow].Url});

        look::setTwipsTop(spot(), 3375);
        step();
        QCOMPARE(top(), 3885.0);
        QCOMPARE(tag(), tagAfterWrap);
        QCOMPARE(spot()->text(), spots[rowAfterWrap].Headline);
    }
};

QTEST_MAIN(AdvertTickerTest)
#include "tst_advert_ticker.moc"
