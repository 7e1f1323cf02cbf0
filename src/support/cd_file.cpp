#include "support/cd_file.h"

namespace quarnel {

QList<FileDialogFilter> parseFilter(const QString& filter) {
    QList<FileDialogFilter> filters;
    if (filter.isEmpty())
        return filters;
    const QStringList pieces = filter.split(u'|');
    for (qsizetype i = 0; i + 1 < pieces.size(); i += 2) {
        // An empty description ends the list, as an empty piece ends the dialog's own list.
        if (pieces[i].isEmpty())
            break;
        filters.push_back({pieces[i], pieces[i + 1]});
    }
    return filters;
}

QString directoryPart(const QString& path, const QString& separators, QChar joiner) {
    qsizetype last = -1;
    for (qsizetype i = path.size() - 1; i >= 0; --i) {
        if (separators.contains(path[i])) {
            last = i;
            break;
        }
    }
    QString folder = path.left(last + 1);
    if (folder.endsWith(joiner))
        folder.chop(1);
    return folder;
}

QString namePart(const QString& path, const QString& separators) {
    for (qsizetype i = path.size() - 1; i >= 0; --i) {
        if (separators.contains(path[i]))
            return path.mid(i + 1);
    }
    return path;
}

QString composePath(const QString& folder, const QString& name, QChar joiner) {
    if (folder.endsWith(joiner))
        return folder + name;
    return folder + joiner + name;
}

QString clsCDFile::GetFileExt(const QString& name) {
    const qsizetype dot = name.lastIndexOf(u'.');
    return dot < 0 ? QString() : name.mid(dot + 1);
}

int clsCDFile::nameBufferLength() const {
    return m_MaxFileSize <= 255 ? 255 : int(m_MaxFileSize);
}

int clsCDFile::ShowFileDialog(FileDialogMode mode) {
    if (mode != FileDialogMode::Open && mode != FileDialogMode::Save)
        return 0;
    m_ExtendedError = 0;

    FileDialogRequest request;
    request.mode = mode;
    request.owner = m_hWnd;
    request.title = m_DialogTitle;
    request.filters = parseFilter(m_Filter);
    request.filterIndex = m_FilterIndex;
    request.initialDir = m_InitDir;
    // The name buffer holds its length less one characters and a terminator.
    request.proposedName = m_FileName.left(nameBufferLength() - 1);
    request.defaultExt = m_DefaultExt;
    request.flags = m_flags;
    const bool multi = (m_flags & kFlagAllowMultiSelect) != 0;
    request.multiSelect = multi && mode == FileDialogMode::Open;

    const FileDialogAnswer answer = m_service.showFileDialog(request);
    if (answer.result != FileDialogAnswer::Result::Chosen) {
        if (answer.result == FileDialogAnswer::Result::Failed)
            m_ExtendedError = answer.extendedError;
        return m_CancelError ? kCancelErrorNumber : 0;
    }
    if (answer.paths.isEmpty() || answer.paths.front().isEmpty()) {
        m_service.reportFileDialogFailure(m_hWnd,
                                          QStringLiteral("The dialog returned no file name."));
        return 0;
    }

    if (!multi) {
        const QString& path = answer.paths.front();
        m_FileName = path;
        m_FileTitle = namePart(path);
        m_DirectoryName = directoryPart(path);
        return 0;
    }

    // Several files: one chosen file comes back as its full path; several as their folder
    // followed by the bare names, separated by NUL characters (new style) or spaces (old style).
    if (answer.paths.size() == 1) {
        m_FileName = answer.paths.front();
        m_DirectoryName = m_FileName;
        return 0;
    }
    const QChar between = (m_flags & kFlagExplorer) != 0 ? QChar(u'\0') : QChar(u' ');
    QString folder = directoryPart(answer.paths.front());
    if (folder.isEmpty())
        folder = QString(kPathSeparator);
    QString list = folder;
    for (const QString& path : answer.paths)
        list += between + namePart(path);
    m_FileName = list;
    m_DirectoryName = folder;
    return 0;
}

}  // namespace quarnel
