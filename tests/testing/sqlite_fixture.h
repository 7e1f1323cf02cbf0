// SQLite database files for tests, made from SQL scripts in a temporary directory.
#pragma once

#include "db/data_access.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include <string>
#include <vector>

namespace quarnel::testing {

// A temporary directory that holds SQLite files built from scripts; removed with the object.
class SqliteFixture {
  public:
    SqliteFixture();

    // Builds the file `name` in the directory by running `script` (several statements allowed)
    // and returns its path. An existing file of that name is replaced. Throws std::runtime_error
    // with SQLite's message when the script fails.
    QString createDatabase(const QString& script, const QString& name = QStringLiteral("test.db"));

    // Writes `bytes` as the file `name` and returns its path.
    QString createFile(const QByteArray& bytes, const QString& name);

    // The path of `name` in the directory (the file need not exist).
    QString filePath(const QString& name) const;

    // The host string that opens `path` with the embedded engine.
    static QString hostFor(const QString& path);

    // The SHA-256 of the file's bytes; empty when it cannot be read.
    static QByteArray fileHash(const QString& path);

    // The text of a file, for scripts kept in the source tree; throws when it cannot be read.
    static QString readText(const QString& path);

  private:
    QTemporaryDir m_dir;
};

// Each field of `dynaset` as "NAME OraIDataType OraPrecision Size Type null|not null".
inline std::vector<std::string> describeFields(const db::Dynaset& dynaset) {
    std::vector<std::string> described;
    for (const db::Field* f : dynaset.Fields()) {
        described.push_back(QStringLiteral("%1 %2 %3 %4 %5 %6")
                                .arg(f->Name())
                                .arg(f->OraIDataType())
                                .arg(f->OraPrecision())
                                .arg(f->Size())
                                .arg(f->Type())
                                .arg(f->OraNullOK() ? "null" : "not null")
                                .toStdString());
    }
    return described;
}

}  // namespace quarnel::testing
