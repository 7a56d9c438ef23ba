#pragma once

#include <QFunctionPointer>
#include <QString>
#include <QStringList>

namespace shell {

// The address of `symbol` in the loadable module `name` (without "lib" and the platform's
// suffix), taken from the first of `folders` that has it; the module stays loaded. Null, with
// the reason in `error`, when none has it.
QFunctionPointer resolveModuleSymbol(const QStringList& folders, const QString& name,
                                     const char* symbol, QString* error);

// Where the program keeps its modules: beside itself, as in the build tree and on Windows, and
// in its private library folder (../lib/<triplet>/bviban from /usr/bin), as when installed.
QStringList programModuleFolders();

} // namespace shell
