#include "helper_program.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace shell {

QString helperProgram(const QString& name) {
    const QDir programFolder(QCoreApplication::applicationDirPath());
    const QString beside = programFolder.filePath(name);
    if (QFileInfo(beside).isExecutable())
        return beside;
    return QDir::cleanPath(
        programFolder.filePath(QStringLiteral(BVIBAN_HELPER_DIR_FROM_PROGRAM "/") + name));
}

} // namespace shell
