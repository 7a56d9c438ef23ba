// The start-up floor: a bare Qt window of the main window's client size that paints the same
// black band at the bottom, so that the harness sees its first frame by the same pixels.

#include <QApplication>
#include <QPainter>
#include <QWidget>

namespace {

class BareWindow : public QWidget {
protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(0, 238, width(), height() - 238, Qt::black);
    }
};

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    BareWindow window;
    window.setWindowTitle(QStringLiteral("Bare window"));
    window.setFixedSize(464, 319);
    window.show();
    return app.exec();
}
