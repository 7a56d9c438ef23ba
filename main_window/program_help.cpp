#include "program_help.h"

#include "identity.h"
#include "launcher.h"
#include "message_boxes.h"
#include "program_documents.h"

#include <QDir>

void showGuide(QWidget* owner, shell::Launcher& launcher, MessageBoxes& messages) {
    const QString guide = shell::programDocument(QStringLiteral("guida.html"));
    const QString title = QString::fromUtf8(identity::kApplicationTitle);
    if (guide.isEmpty()) {
        messages.show(owner, MessageBoxes::Icon::Warning, title,
                      QStringLiteral("Non trovo la guida (guida.html) in %1: reinstalla il "
                                     "programma.")
                          .arg(QDir::toNativeSeparators(
                              shell::programDocumentFolders().join(QStringLiteral(", ")))));
        return;
    }
    const shell::ProcessHandle handle = launcher.ApriDocumento(guide, QString(), 0);
    if (handle == 0) {
        messages.show(owner, MessageBoxes::Icon::Warning, title,
                      QStringLiteral("Non riesco ad aprire la guida: il sistema non ha un "
                                     "programma per le pagine web. La guida è nel file\n%1")
                          .arg(QDir::toNativeSeparators(guide)));
        return;
    }
    launcher.releaseHandle(handle);
}
