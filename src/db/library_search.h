// The places a client library is looked for, as the platform's loader would take them.
#pragma once

#include <QString>
#include <QStringList>

namespace quarnel::db {

// The folders of a PATH-like `value` whose entries are separated by `separator`, in order: each
// one once, and only absolute ones. With ';' the entries follow Windows' rules (quotes round an
// entry allowed, drive letters and UNC paths, folders compared without regard to case, to the
// kind of slash or to a closing one); with any other separator the Unix ones. Only absolute:
// an empty or relative entry (".", "bin") would make the search depend on the current folder,
// where a library planted by someone else could be waiting.
QStringList absolutePathFolders(const QString& value, QChar separator);

// Takes the current folder out of the system's search for libraries, for this process and the
// libraries it loads (Windows: SetDllDirectoryW(L""), as Microsoft advises). Nothing on the other
// systems, where the current folder is never searched. Safe to call more than once.
void removeCurrentFolderFromLibrarySearch();

}  // namespace quarnel::db
