#include "font_preload.h"
#include "form_fixture.h"

#include <QClipboard>
#include <QImage>
#include <QLineEdit>
#include <QMimeData>
#include <QSignalSpy>
#include <memory>
#include <vector>

class CopyClearTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        // The program's fonts, prepared as main() prepares them.
        look::preloadFonts().wait();
        look::registerFonts();
    }
    void init();
    void cleanup() { f_.reset(); }

    void copiesTheShownIban();
    void copyReplacesEveryFormat_data();
    void copyReplacesEveryFormat();
    void copyingTwiceGivesTheSame();
    void clearEmptiesTheFourFieldsInOrder_data();
    void clearEmptiesTheFourFieldsInOrder();
    void clearingEmptyFieldsChangesNothing();

private:
    QLineEdit* field(const char* name) { return f_->control<QLineEdit>(name); }
    void click(const char* name) { QTest::mouseClick(f_->control(name), Qt::LeftButton); }

    std::unique_ptr<FormFixture> f_;
};

void CopyClearTest::init() {
    f_ = std::make_unique<FormFixture>();
    QVERIFY(f_->waitActive());
}

void CopyClearTest::copiesTheShownIban() {
    f_->calculate("1234", "987", "ab-12345");
    QCOMPARE(field("txtIBAN")->text(), QStringLiteral("IT65D012340098700000AB12345"));
    click("CopyIBAN");
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    QCOMPARE(data->formats(), QStringList{QStringLiteral("text/plain")});
    QCOMPARE(data->text(), QStringLiteral("IT65D012340098700000AB12345"));
}

void CopyClearTest::copyReplacesEveryFormat_data() {
    QTest::addColumn<QString>("held");
    QTest::newRow("text") << "text";
    QTest::newRow("picture") << "picture";
    QTest::newRow("rich text and a private format") << "rich";
}

void CopyClearTest::copyReplacesEveryFormat() {
    QFETCH(QString, held);
    auto* before = new QMimeData;
    if (held == u"text") {
        before->setText(QStringLiteral("IT00X0000000000000000000000"));
    } else if (held == u"picture") {
        QImage picture(4, 4, QImage::Format_RGB32);
        picture.fill(Qt::red);
        before->setImageData(picture);
    } else {
        before->setHtml(QStringLiteral("<b>IBAN</b>"));
        before->setData(QStringLiteral("application/x-bviban-test"), "data");
    }
    QGuiApplication::clipboard()->setMimeData(before);

    // An empty result field is copied like any other text.
    QVERIFY(field("txtIBAN")->text().isEmpty());
    click("CopyIBAN");
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    QCOMPARE(data->formats(), QStringList{QStringLiteral("text/plain")});
    QCOMPARE(data->text(), QString());
    QVERIFY(!data->hasImage());
    QVERIFY(!data->hasHtml());
}

void CopyClearTest::copyingTwiceGivesTheSame() {
    f_->calculate("12345", "67890", "87");
    click("CopyIBAN");
    const QString once = QGuiApplication::clipboard()->text();
    click("CopyIBAN");
    QCOMPARE(QGuiApplication::clipboard()->text(), once);
    QCOMPARE(once, QStringLiteral("IT98F1234567890000000000087"));
    QCOMPARE(QGuiApplication::clipboard()->mimeData()->formats().size(), 1);
}

void CopyClearTest::clearEmptiesTheFourFieldsInOrder_data() {
    QTest::addColumn<Qt::Key>("key");
    QTest::newRow("mouse click") << Qt::Key_unknown;
    QTest::newRow("Space on the focused button") << Qt::Key_Space;
    QTest::newRow("Enter on the focused button") << Qt::Key_Return;
}

void CopyClearTest::clearEmptiesTheFourFieldsInOrder() {
    QFETCH(Qt::Key, key);
    f_->calculate("12345", "67890", "87");
    QGuiApplication::clipboard()->setText(QStringLiteral("kept"));

    QStringList emptied;
    for (const char* name : {"txtABI", "txtCAB", "txtCC", "txtIBAN"}) {
        connect(field(name), &QLineEdit::textChanged, this, [&emptied, name](const QString& t) {
            if (t.isEmpty()) {
                emptied << QLatin1String(name);
            }
        });
    }
    QWidget* clear = f_->control("SvuotaCampi");
    if (key == Qt::Key_unknown) {
        click("SvuotaCampi");
    } else {
        clear->setFocus();
        QTRY_VERIFY(clear->hasFocus());
        QTest::keyClick(clear, key);
    }

    QCOMPARE(emptied, (QStringList{"txtABI", "txtCAB", "txtCC", "txtIBAN"}));
    QCOMPARE(QApplication::focusWidget(), clear);
    for (const char* name : {"txtABI", "txtCAB", "txtCC"}) {
        QCOMPARE(look::backColor(field(name)), look::kWindowBackground);
    }
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("kept"));
}

void CopyClearTest::clearingEmptyFieldsChangesNothing() {
    QWidget* abi = f_->control("txtABI");
    QTRY_VERIFY(abi->hasFocus());
    // Keyboard users reach the button with Tab.
    for (int i = 0; i < 4; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    QWidget* clear = f_->control("SvuotaCampi");
    QCOMPARE(QApplication::focusWidget(), clear);

    std::vector<std::unique_ptr<QSignalSpy>> spies;
    for (const char* name : {"txtABI", "txtCAB", "txtCC", "txtIBAN"}) {
        spies.push_back(std::make_unique<QSignalSpy>(field(name), &QLineEdit::textChanged));
    }
    const QImage before = f_->form().grab().toImage();
    QTest::keyClick(clear, Qt::Key_Space);
    QCOMPARE(f_->form().grab().toImage(), before);
    for (const auto& spy : spies) {
        QCOMPARE(spy->count(), 0);
    }
    QCOMPARE(QApplication::focusWidget(), clear);
}

QTEST_MAIN(CopyClearTest)
#include "tst_copy_clear.moc"
