#include "form1.h"

#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QUrl>

namespace {

// The first local file (not a folder) that the drag carries; empty when there is none.
QString draggedFile(const QMimeData* data) {
    if (data == nullptr || !data->hasUrls()) {
        return {};
    }
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile() && !QFileInfo(url.toLocalFile()).isDir()) {
            return url.toLocalFile();
        }
    }
    return {};
}

} // namespace

bool Form1::takeFileDrag(QEvent* event) {
    if (!fileDrop_) {
        return false;
    }
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* drag = static_cast<QDragMoveEvent*>(event);
        if (draggedFile(drag->mimeData()).isEmpty()) {
            return false;
        }
        drag->acceptProposedAction();
        return true;
    }
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        const QString path = draggedFile(drop->mimeData());
        if (path.isEmpty()) {
            return false;
        }
        drop->acceptProposedAction();
        // After the drop has ended: the file manager that dragged it is not kept waiting
        // while the conversion asks or tells anything.
        QMetaObject::invokeMethod(
            this, [this, path] { fileDrop_(this, path); }, Qt::QueuedConnection);
        return true;
    }
    default:
        return false;
    }
}

void Form1::dragEnterEvent(QDragEnterEvent* event) {
    takeFileDrag(event);
}

void Form1::dragMoveEvent(QDragMoveEvent* event) {
    takeFileDrag(event);
}

void Form1::dropEvent(QDropEvent* event) {
    takeFileDrag(event);
}
