#pragma once

#include "form1.h"
#include "list_conversion.h"
#include "message_boxes.h"
#include "recording_launcher.h"

#include <QApplication>
#include <QDropEvent>
#include <QFile>
#include <QMimeData>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include <functional>
#include <memory>

inline QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline bool write(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// Files dragged from a file manager carry their URLs and their paths as text.
inline void dropFiles(QWidget* target, const QStringList& paths) {
    QMimeData data;
    QList<QUrl> urls;
    for (const QString& path : paths) {
        urls << QUrl::fromLocalFile(path);
    }
    data.setUrls(urls);
    data.setText(paths.join('\n'));
    const QPoint at = target->rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
    QVERIFY(drop.isAccepted());
}

// Runs `act` once on the next window of type T that is the active modal one, as a user who
// waits for it; gives up after about ten seconds.
template <typename T> void whenShown(std::function<void(T*)> act, int triesLeft = 1000) {
    QTimer::singleShot(10, [act = std::move(act), triesLeft]() mutable {
        if (auto* window = qobject_cast<T*>(QApplication::activeModalWidget())) {
            act(window);
        } else if (triesLeft > 0) {
            whenShown<T>(std::move(act), triesLeft - 1);
        }
    });
}

// The main window wired as main.cpp wires it, with the real converter module from the build
// tree and a launcher that only records.
struct ListWindow {
    QtMessageBoxes boxes;
    RecordingLauncher launcher;
    ChosenList chosen;
    ListConversion lists{boxes, launcher, [this](QWidget*) { return chosen; },
                         ListConversion::moduleConverter({QStringLiteral(BVIBAN_MODULE_DIR)})};
    Form1 form{boxes, tools()};

    ListWindow() {
        form.show();
        form.activateWindow();
    }

    Form1Tools tools() {
        Form1Tools t;
        t.convertList = [this](QWidget* mainWindow) { lists.chooseAndConvert(mainWindow); };
        t.convertFiles = [this](QWidget* mainWindow, const QStringList& paths) {
            lists.convert(mainWindow, paths);
        };
        return t;
    }
};
