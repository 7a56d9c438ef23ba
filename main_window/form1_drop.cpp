#include "form1.h"

#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QUrl>

namespace {

// The local files that the drag carries, in its order; empty when there is none. Folders come
// along with files, so that the conversion tells that it cannot take them; a drag of folders
// alone is not taken.
QStringList draggedFiles(const QMimeData* data) {
    if (data == nullptr || !data->hasUrls()) {
        return {};
    }
    QStringList paths;
    bool anyFile = false;
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile()) {
            paths << url.toLocalFile();
            anyFile = anyFile || !QFileInfo(paths.back()).isDir();
        }
    }
    return anyFile ? paths : QStringList();
}

} // namespace

bool Form1::takeFileDrag(QEvent* event) {
    if (!tools_.convertFiles) {
        return false;
    }
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* drag = static_cast<QDragMoveEvent*>(event);
        if (draggedFiles(drag->mimeData()).isEmpty()) {
            return false;
        }
        drag->acceptProposedAction();
        return true;
    }
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        const QStringList paths = draggedFiles(drop->mimeData());
        if (paths.isEmpty()) {
            return false;
        }
        drop->acceptProposedAction();
        // After the drop has ended: the file manager that dragged them is not kept waiting
        // while the conversion asks or tells anything.
        QMetaObject::invokeMethod(
            this, [this, paths] { tools_.convertFiles(this, paths); }, Qt::QueuedConnection);
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
