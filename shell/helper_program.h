#pragma once

#include <QString>

namespace shell {

// The path of one of the project's helper programs, such as the windowless browser, named
// without the ".exe" that Windows adds. They sit beside the programs in the build tree and on
// Windows, and in a folder of their own once installed on Linux (such as ../libexec/bviban from
// the program's folder); both are found from the running program's own folder, never through
// PATH, so that an installed tree works wherever it is moved.
QString helperProgram(const QString& name);

} // namespace shell
