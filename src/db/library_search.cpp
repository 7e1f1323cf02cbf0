#include "db/library_search.h"

#include <QDir>

#if defined(_WIN32)
#include <windows.h>
#endif

namespace quarnel::db {

QStringList absolutePathFolders(const QString& value, QChar separator) {
    const bool windowsRules = separator == u';';
    QStringList folders;
    QStringList seen;
    for (QString entry : value.split(separator, Qt::SkipEmptyParts)) {
        entry = entry.trimmed();
        if (windowsRules && entry.size() >= 2 && entry.startsWith(u'"') && entry.endsWith(u'"'))
            entry = entry.mid(1, entry.size() - 2);
        // A Windows path is absolute with a drive and a separator after it, or as a UNC path;
        // "C:bin" and "\bin" depend on the current drive or folder.
        const bool absolute = windowsRules
                                  ? (entry.size() >= 3 && entry[0].isLetter() && entry[1] == u':' &&
                                     (entry[2] == u'\\' || entry[2] == u'/')) ||
                                        entry.startsWith(QLatin1String("\\\\"))
                                  : entry.startsWith(u'/');
        if (!absolute)
            continue;
        QString key = entry;
        while (key.size() > 1 && (key.endsWith(u'/') || (windowsRules && key.endsWith(u'\\'))) &&
               !(windowsRules && key.size() == 3 && key[1] == u':'))
            key.chop(1);
        if (windowsRules)
            key = key.toLower().replace(u'/', u'\\');
        if (seen.contains(key))
            continue;
        seen << key;
        folders << entry;
    }
    return folders;
}

void removeCurrentFolderFromLibrarySearch() {
#if defined(_WIN32)
    SetDllDirectoryW(L"");
#endif
}

}  // namespace quarnel::db
