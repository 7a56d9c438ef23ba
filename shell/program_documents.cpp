#include "program_documents.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace shell {

QStringList programDocumentFolders() {
    const QDir program(QCoreApplication::applicationDirPath());
    return {program.filePath(QStringLiteral("help")),
            QDir::cleanPath(program.filePath(QStringLiteral(BVIBAN_INSTALLED_DOCUMENTS)))};
}

QString programDocument(const QString& name) {
    for (const QString& folder : programDocumentFolders()) {
        const QFileInfo document(QDir(folder).filePath(name));
        if (document.isFile()) {
            return document.absoluteFilePath();
        }
    }
    return {};
}

} // namespace shell
