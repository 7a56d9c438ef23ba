#pragma once

#include <QString>
#include <QStringList>

namespace shell {

// Where the program keeps its documents (the help page, the licence texts): "help" beside
// itself, as in the build tree and on Windows, and its data folder (../share/bviban from
// /usr/bin), as when installed.
QStringList programDocumentFolders();

// The path of a document, such as "guida.html", in the first of those folders that has it;
// empty when none has it.
QString programDocument(const QString& name);

} // namespace shell
