#include "helper_program.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace shell {

QString helperProgram(const QString& name) {
#ifdef Q_OS_WIN
    const QString file = name + QStringLiteral(".exe");
#else
    const QString& file = name;
#endif
    const QDir programFolder(QCoreApplication::applicationDirPath());
    const QString beside = programFolder.filePath(file);
    if (QFileInfo(beside).isExecutable())
        return beside;
    return QDir::cleanPath(
        programFolder.filePath(QStringLiteral(BVIBAN_HELPER_DIR_FROM_PROGRAM "/") + file));
}

} // namespace shell
