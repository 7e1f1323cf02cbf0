#include "testing/sqlite_fixture.h"

#include "db/engines.h"

#include <QCryptographicHash>
#include <QFile>

#include <sqlite3.h>

#include <stdexcept>

namespace quarnel::testing {

SqliteFixture::SqliteFixture() {
    if (!m_dir.isValid())
        throw std::runtime_error("cannot create a temporary directory");
}

QString SqliteFixture::createDatabase(const QString& script, const QString& name) {
    const QString path = filePath(name);
    QFile::remove(path);
    sqlite3* db = nullptr;
    if (sqlite3_open(QFile::encodeName(path).constData(), &db) != SQLITE_OK) {
        sqlite3_close(db);
        throw std::runtime_error("cannot create " + path.toStdString());
    }
    char* error = nullptr;
    const int rc = sqlite3_exec(db, script.toUtf8().constData(), nullptr, nullptr, &error);
    const std::string message = error ? error : "";
    sqlite3_free(error);
    sqlite3_close(db);
    if (rc != SQLITE_OK)
        throw std::runtime_error("script failed: " + message);
    return path;
}

QString SqliteFixture::createFile(const QByteArray& bytes, const QString& name) {
    const QString path = filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(bytes) != bytes.size()) {
        throw std::runtime_error("cannot write " + path.toStdString());
    }
    return path;
}

QString SqliteFixture::filePath(const QString& name) const {
    return m_dir.filePath(name);
}

QString SqliteFixture::hostFor(const QString& path) {
    return QLatin1String(db::kSqliteHostPrefix) + path;
}

QByteArray SqliteFixture::fileHash(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(&file);
    return hash.result();
}

QString SqliteFixture::readText(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        throw std::runtime_error("cannot read " + path.toStdString());
    }
    return QString::fromUtf8(file.readAll());
}

}  // namespace quarnel::testing
