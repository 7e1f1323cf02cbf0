// clsCDFile: the open-file and save-file dialogs behind a property interface. The caller sets
// title, filter, proposed name, initial folder, flags and owner window, calls ShowOpen or
// ShowSave, and reads back the chosen path, its bare name and its folder.
//
// The dialog itself is shown by a FileDialogService (the toolkit's file dialog in the program, a
// script in tests); this class keeps the rules around it: the filter list, the proposed name cut
// to the name buffer, the cancellation error, and how the results are read back.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class QObject;

namespace quarnel {

// The error number of a cancelled dialog when CancelError is set.
inline constexpr int kCancelErrorNumber = 32755;

// Flag bits that the class tests: several files may be chosen; the new-style dialog. The dialog
// asks before it lets an existing file be chosen for saving only with kFlagOverwritePrompt.
inline constexpr qint32 kFlagOverwritePrompt = 0x2;
inline constexpr qint32 kFlagAllowMultiSelect = 0x200;
inline constexpr qint32 kFlagExplorer = 0x80000;

// The characters that end a folder name in a path, and the one that joins folder and name.
#ifdef Q_OS_WIN
inline const QString kPathSeparators = QStringLiteral("\\:");
inline constexpr char16_t kPathSeparator = u'\\';
#else
inline const QString kPathSeparators = QStringLiteral("/");
inline constexpr char16_t kPathSeparator = u'/';
#endif

enum class FileDialogMode { Open = 1, Save = 2 };

struct FileDialogFilter {
    QString description;
    QString patterns;  // ";"-separated, as in "*.csv;*.txt"

    friend bool operator==(const FileDialogFilter&, const FileDialogFilter&) = default;
};

// What the dialog is asked to show.
struct FileDialogRequest {
    FileDialogMode mode = FileDialogMode::Save;
    QObject* owner = nullptr;
    QString title;
    QList<FileDialogFilter> filters;
    int filterIndex = 0;  // 1-based
    QString initialDir;
    QString proposedName;  // already cut to the name buffer
    QString defaultExt;
    qint32 flags = 0;
    bool multiSelect = false;
};

// What the dialog answered. A chosen file comes with its full path (several with several paths
// when multiSelect was asked).
struct FileDialogAnswer {
    enum class Result { Chosen, Cancelled, Failed };
    Result result = Result::Cancelled;
    QStringList paths;
    qint32 extendedError = 0;  // the reason of a failed dialog
};

class FileDialogService {
  public:
    virtual ~FileDialogService() = default;
    virtual FileDialogAnswer showFileDialog(const FileDialogRequest& request) = 0;
    // Reports a failure inside the dialog operation to the user (title "ShowFileDialog").
    virtual void reportFileDialogFailure(QObject* owner, const QString& description) = 0;
};

// "A|*.a|B|*.b" as description and pattern pairs; a description without its pattern ends the list.
QList<FileDialogFilter> parseFilter(const QString& filter);

// The folder part of a path: everything up to and including its last separator, without that
// separator when it is the joining one. A bare name gives an empty text; so does a file in the
// root folder on Linux ("/a.csv"), and on Windows "C:\a.csv" gives "C:".
QString directoryPart(const QString& path, const QString& separators = kPathSeparators,
                      QChar joiner = kPathSeparator);

// The bare name of a path: what follows its last separator.
QString namePart(const QString& path, const QString& separators = kPathSeparators);

// Folder and bare name joined by the separator, unless the folder text already ends with it.
QString composePath(const QString& folder, const QString& name, QChar joiner = kPathSeparator);

class clsCDFile {
  public:
    explicit clsCDFile(FileDialogService& service) : m_service(service) {}

    QString DirectoryName() const { return m_DirectoryName; }
    QString Filter() const { return m_Filter; }
    void setFilter(const QString& value) { m_Filter = value; }
    void sethWnd(QObject* owner) { m_hWnd = owner; }
    QString FileName() const { return m_FileName; }
    void setFileName(const QString& value) { m_FileName = value; }
    qint16 FilterIndex() const { return m_FilterIndex; }
    void setFilterIndex(qint16 value) { m_FilterIndex = value; }
    void setCancelError(bool value) { m_CancelError = value; }
    QString DefaultExt() const { return m_DefaultExt; }
    void setDefaultExt(const QString& value) { m_DefaultExt = value; }
    QString DialogTitle() const { return m_DialogTitle; }
    void setDialogTitle(const QString& value) { m_DialogTitle = value; }
    qint32 flags() const { return m_flags; }
    void setflags(qint32 value) { m_flags = value; }
    void setInitDir(const QString& value) { m_InitDir = value; }
    qint32 MaxFileSize() const { return m_MaxFileSize; }
    void setMaxFileSize(qint32 value) { m_MaxFileSize = value; }
    QString FileTitle() const { return m_FileTitle; }
    void setFileTitle(const QString& value) { m_FileTitle = value; }
    qint32 ExtendedError() const { return m_ExtendedError; }

    // Show the dialog. 0 when a file was chosen, or when the dialog was cancelled without
    // CancelError; kCancelErrorNumber when it was cancelled (or failed) with CancelError set.
    int ShowOpen() { return ShowFileDialog(FileDialogMode::Open); }
    int ShowSave() { return ShowFileDialog(FileDialogMode::Save); }

    // The extension of a file name: what follows its last ".", case kept; empty without a ".".
    static QString GetFileExt(const QString& name);

    // The name buffer's length: MaxFileSize, at least 255.
    int nameBufferLength() const;

  private:
    int ShowFileDialog(FileDialogMode mode);

    FileDialogService& m_service;
    QObject* m_hWnd = nullptr;
    bool m_CancelError = false;
    QString m_DefaultExt;
    QString m_DialogTitle;
    QString m_FileName;
    QString m_FileTitle;
    QString m_Filter;
    qint16 m_FilterIndex = 0;
    qint32 m_flags = 0;
    QString m_InitDir;
    qint32 m_MaxFileSize = 0;
    qint32 m_ExtendedError = 0;
    QString m_DirectoryName;
};

}  // namespace quarnel
