#include "module_loader.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibrary>

namespace shell {

QFunctionPointer resolveModuleSymbol(const QStringList& folders, const QString& name,
                                     const char* symbol, QString* error) {
    QStringList reasons;
    for (const QString& folder : folders) {
        QLibrary module(QDir(folder).filePath(name));
        if (const QFunctionPointer found = module.resolve(symbol)) {
            return found;
        }
        reasons << module.errorString();
    }
    *error = reasons.join(QStringLiteral("; "));
    return nullptr;
}

QStringList programModuleFolders() {
    const QString program = QCoreApplication::applicationDirPath();
    return {program,
            QDir::cleanPath(QDir(program).filePath(QStringLiteral(BVIBAN_INSTALLED_MODULES)))};
}

} // namespace shell
