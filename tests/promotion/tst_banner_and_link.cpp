#include "accessible_controls.h"
#include "font_preload.h"
#include "frm_email.h"
#include "identity.h"
#include "look.h"
#include "promotion_window.h"

#include <QAccessible>
#include <QApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

// The blinking tell-a-friend banner, the hover effects and the two links of the main window.
class BannerAndLinkTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<PromotionWindow> w;

    QLabel* banner() const { return w->c.DilloAdAmico; }
    QLabel* shadow() const { return w->c.DilloAdAmico_Ombra; }
    QLabel* link() const { return w->c.bvURL; }
    static bool hasStyle(const QLabel* label, double points, bool underline) {
        return label->font().pointSizeF() == points && label->font().underline() == underline;
    }
    bool bannerEnlarged() const {
        return hasStyle(banner(), 8, true) && hasStyle(shadow(), 8, false);
    }
    bool bannerResting() const {
        return hasStyle(banner(), 7, false) && hasStyle(shadow(), 7, false);
    }
    // A point of the widget that no other control covers.
    QPoint openSpot(const QString& name) const {
        if (name == "box around the banner") {
            return QPoint(10, 40); // over the badge picture, left of the labels
        }
        if (name == "logo box") {
            return w->c.bvLOGO->rect().bottomRight() - QPoint(4, 4);
        }
        if (name == "shadow") {
            return shadow()->rect().bottomRight(); // where the banner does not cover it
        }
        if (name == "window") {
            return QPoint(5, 5);
        }
        return control(name)->rect().center();
    }
    // The designed controls' container, below the menu bar.
    QWidget* area() const { return w->form.findChild<QWidget*>(QStringLiteral("DesignArea")); }
    QWidget* control(const QString& name) const {
        const QHash<QString, QWidget*> controls{
            {"banner", banner()},
            {"box around the banner", w->c.Record},
            {"shadow", shadow()},
            {"record notice", w->c.RecordDownload},
            {"link", link()},
            {"logo box", w->c.bvLOGO},
            {"contacts", w->c.bvRecapiti},
            {"ticker", w->c.TxtSpot},
            {"window", area()},
        };
        return controls.value(name);
    }
    // Moves the mouse onto the named control; false if another control covers that point.
    [[nodiscard]] bool moveOnto(const QString& name) {
        QWidget* target = control(name);
        const QPoint p = openSpot(name);
        QWidget* hit = area()->childAt(target->mapTo(area(), p));
        if (hit != (target == area() ? nullptr : target)) {
            return false;
        }
        QTest::mouseMove(target, p);
        return true;
    }

private slots:
    void initTestCase() {
        // The program's fonts, prepared as main() prepares them.
        look::preloadFonts().wait();
        look::registerFonts();
        accessibility::install();
    }
    void init() {
        w = std::make_unique<PromotionWindow>();
        // Each test starts with the mouse over an empty part of the window, so that its first
        // move is a real movement.
        QVERIFY(moveOnto("window"));
    }
    void cleanup() { w.reset(); }

    void loadLeavesBannerRestingAndLinkAsDesigned() {
        QVERIFY(bannerResting());
        QVERIFY(hasStyle(link(), 6.75, false));
        QCOMPARE(look::foreColor(banner()), look::kBlue);
        QVERIFY(!shadow()->isHidden());
    }

    void blinkAlternatesBlueWithoutShadowAndRedWithShadow() {
        w->stopTimers();
        for (int tick = 1; tick <= 4; ++tick) {
            w->panel.Timer2_Timer();
            const bool shadowShown = tick % 2 == 0;
            QCOMPARE(shadow()->isVisible(), shadowShown);
            QCOMPARE(look::foreColor(banner()), shadowShown ? look::kRed : look::kBlue);
            QCOMPARE(banner()->palette().color(QPalette::WindowText),
                     shadowShown ? QColor(Qt::red) : QColor(Qt::blue));
        }
    }

    void hoverGrowsAndTheSurroundingsRestore_data() {
        QTest::addColumn<QString>("target");
        QTest::addColumn<bool>("bannerStaysEnlarged");
        QTest::addColumn<bool>("linkStaysEnlarged");
        QTest::newRow("banner") << "banner" << true << true;
        QTest::newRow("box around the banner") << "box around the banner" << false << true;
        QTest::newRow("shadow") << "shadow" << true << true;
        QTest::newRow("record notice") << "record notice" << true << true;
        QTest::newRow("link") << "link" << true << true;
        QTest::newRow("logo box") << "logo box" << true << false;
        QTest::newRow("contacts") << "contacts" << true << false;
        QTest::newRow("ticker") << "ticker" << true << true;
        QTest::newRow("window") << "window" << true << true;
    }
    void hoverGrowsAndTheSurroundingsRestore() {
        QFETCH(QString, target);
        QFETCH(bool, bannerStaysEnlarged);
        QFETCH(bool, linkStaysEnlarged);
        w->stopTimers();
        QVERIFY(moveOnto("banner"));
        QVERIFY(bannerEnlarged());
        QVERIFY(moveOnto("link"));
        QVERIFY(hasStyle(link(), 8, true));
        QVERIFY(bannerEnlarged());

        QVERIFY(moveOnto(target));
        QVERIFY(bannerStaysEnlarged ? bannerEnlarged() : bannerResting());
        QVERIFY(hasStyle(link(), linkStaysEnlarged ? 8 : 7, linkStaysEnlarged));
    }

    void enlargedBannerKeepsBlinking() {
        w->stopTimers();
        QVERIFY(moveOnto("banner"));
        w->panel.Timer2_Timer();
        w->panel.Timer2_Timer();
        QVERIFY(bannerEnlarged());
        QCOMPARE(look::foreColor(banner()), look::kRed);
    }

    void linkClickOpensTheVendorHomeOnly_data() {
        QTest::addColumn<Qt::MouseButton>("button");
        QTest::addColumn<bool>("releasedOutside");
        QTest::addColumn<bool>("opens");
        QTest::newRow("left click") << Qt::LeftButton << false << true;
        QTest::newRow("right click") << Qt::RightButton << false << false;
        QTest::newRow("released elsewhere") << Qt::LeftButton << true << false;
    }
    void linkClickOpensTheVendorHomeOnly() {
        QFETCH(Qt::MouseButton, button);
        QFETCH(bool, releasedOutside);
        QFETCH(bool, opens);
        QVERIFY(moveOnto("link"));
        QTest::mousePress(link(), button);
        QTest::mouseRelease(link(), button, {},
                            releasedOutside ? link()->rect().bottomRight() + QPoint(20, 20)
                                            : link()->rect().center());
        QCOMPARE(w->launcher.openedUrls,
                 opens ? QList<QString>{QString::fromLatin1(identity::kVendorHome)}
                       : QList<QString>{});
        QVERIFY(hasStyle(link(), 8, true));
    }

    void bannerClickOpensTheInvitationModallyWhileTheTimersRun() {
        for (int opening = 1; opening <= 2; ++opening) {
            QPointer<frmEMAIl> dialog;
            bool tickerMoved = false;
            bool blinked = false;
            QTimer::singleShot(0, this, [&] {
                dialog = qobject_cast<frmEMAIl*>(QApplication::activeModalWidget());
                if (dialog) {
                    const double top = look::twipsTop(w->c.TxtSpot);
                    const bool shadowHidden = shadow()->isHidden();
                    tickerMoved =
                        QTest::qWaitFor([&] { return look::twipsTop(w->c.TxtSpot) != top; });
                    blinked = QTest::qWaitFor([&] { return shadow()->isHidden() != shadowHidden; });
                }
                if (auto* modal = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                    modal->reject();
                }
            });
            QTest::mouseClick(banner(), Qt::LeftButton);
            QVERIFY(tickerMoved);
            QVERIFY(blinked);
            QVERIFY2(dialog.isNull(), "a closed invitation window is gone");
            QVERIFY(w->c.Timer1->isActive() && w->c.Timer2->isActive());
        }
    }

    // A screen reader sees the three clickable texts as links; pressing one does what a
    // click does: the ticker opens the page of the headline it shows.
    void accessiblePressDoesWhatAClickDoes_data() {
        QTest::addColumn<QString>("control");
        QTest::newRow("banner") << "banner";
        QTest::newRow("link") << "link";
        QTest::newRow("ticker") << "ticker";
    }
    void accessiblePressDoesWhatAClickDoes() {
        QFETCH(QString, control);
        w->stopTimers();
        auto* label = qobject_cast<QLabel*>(this->control(control));
        while (control == "ticker" && label->text() != advertSpots()[3].Headline) {
            w->panel.Timer1_Timer();
        }
        QAccessibleInterface* link = QAccessible::queryAccessibleInterface(label);
        QCOMPARE(link->role(), QAccessible::Link);
        QCOMPARE(link->text(QAccessible::Name), label->text());
        QCOMPARE(link->actionInterface()->actionNames(),
                 QStringList{QAccessibleActionInterface::pressAction()});

        // What the user sees happen: pages opened, and windows, closed again at once.
        QStringList seen;
        QTimer closer;
        connect(&closer, &QTimer::timeout, this, [&seen] {
            if (auto* modal = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                seen << modal->windowTitle();
                modal->reject();
            }
        });
        closer.start(5);
        const auto effectOf = [&](const std::function<void()>& act) {
            seen.clear();
            w->launcher.openedUrls.clear();
            act();
            const bool happened = QTest::qWaitFor(
                [&] { return !seen.isEmpty() || !w->launcher.openedUrls.isEmpty(); });
            return happened ? seen + w->launcher.openedUrls : QStringList();
        };
        const QStringList clicked = effectOf([&] { QTest::mouseClick(label, Qt::LeftButton); });
        const QStringList pressed = effectOf(
            [&] { link->actionInterface()->doAction(QAccessibleActionInterface::pressAction()); });
        QCOMPARE(clicked.size(), 1);
        QCOMPARE(pressed, clicked);
        if (control == "ticker") {
            QCOMPARE(pressed.first(), advertSpots()[3].Url);
        }
    }

    // Whatever faces show the design's, the texts fit their places: the IBAN its field (with
    // no character cut), each banner line, the link and every headline of the ticker one line.
    void designTextsFit_data() {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("state");
        QTest::newRow("IBAN of digits") << "IBAN"
                                        << "5428|11101|123456";
        QTest::newRow("IBAN with letters") << "IBAN"
                                           << "1234|987|ab-12 345";
        QTest::newRow("record notice") << "record notice"
                                       << "";
        QTest::newRow("banner at rest") << "banner"
                                        << "";
        QTest::newRow("banner under the mouse") << "banner"
                                                << "banner";
        QTest::newRow("link at rest") << "link"
                                      << "logo box";
        QTest::newRow("link under the mouse") << "link"
                                              << "link";
        for (int i = 0; i < int(advertSpots().size()); ++i) {
            QTest::addRow("headline %d", i) << "ticker" << QString::number(i);
        }
    }
    void designTextsFit() {
        QFETCH(QString, control);
        QFETCH(QString, state);
        w->stopTimers();
        if (control == "IBAN") {
            const QStringList codes = state.split(u'|');
            const char* const fields[] = {"txtABI", "txtCAB", "txtCC"};
            for (int i = 0; i < 3; ++i) {
                auto* field = w->form.findChild<QLineEdit*>(QLatin1String(fields[i]));
                QTest::mouseClick(field, Qt::LeftButton);
                QTest::keyClicks(field, codes[i]);
            }
            QTest::mouseClick(w->form.findChild<QPushButton*>("CalcolaIBAN"), Qt::LeftButton);
            auto* iban = w->form.findChild<QLineEdit*>("txtIBAN");
            QCOMPARE(iban->text().size(), 27);
            // The blue ink of the centred text keeps clear of both edges: nothing is cut.
            const QImage drawn = iban->grab().toImage();
            int left = drawn.width();
            int right = -1;
            for (int y = 0; y < drawn.height(); ++y) {
                for (int x = 0; x < drawn.width(); ++x) {
                    const QColor p = drawn.pixelColor(x, y);
                    if (p.blue() > 160 && p.red() < 110 && p.green() < 110) {
                        left = std::min(left, x);
                        right = std::max(right, x);
                    }
                }
            }
            QVERIFY2(left > 3 && right < drawn.width() - 4,
                     qPrintable(QStringLiteral("ink from %1 to %2 of %3")
                                    .arg(left)
                                    .arg(right)
                                    .arg(drawn.width())));
            QVERIFY(std::abs(left - (drawn.width() - 1 - right)) <= 3);
            return;
        }
        if (control == "ticker") {
            w->c.TxtSpot->setText(advertSpots()[state.toInt()].Headline);
        } else if (!state.isEmpty()) {
            QVERIFY(moveOnto(state));
        }
        const auto* label = qobject_cast<QLabel*>(this->control(control));
        const QFontMetrics metrics(label->font());
        const QRect needed = metrics.boundingRect(label->rect(), Qt::TextWordWrap, label->text());
        QVERIFY2(needed.height() < 2 * metrics.lineSpacing() && needed.width() <= label->width(),
                 qPrintable(label->text()));
        QVERIFY(needed.height() <= label->height());
    }

    void realTimersDriveTickerAndBlink() {
        QCOMPARE(w->c.Timer1->timerType(), Qt::PreciseTimer);
        QCOMPARE(w->c.Timer2->timerType(), Qt::PreciseTimer);
        QTRY_COMPARE(w->c.Timer1->interval(), 170);
        QTRY_VERIFY(look::twipsTop(w->c.TxtSpot) < 3630);
        QTRY_VERIFY(shadow()->isHidden());
        QTRY_VERIFY(!shadow()->isHidden());
        QTRY_VERIFY(w->c.TxtSpot->text() != advertSpots()[0].Headline);
    }
};

QTEST_MAIN(BannerAndLinkTest)
#include "tst_banner_and_link.moc"
