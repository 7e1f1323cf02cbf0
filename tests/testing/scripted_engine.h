// A scriptable stand-in for the data access component, for tests.
//
// A ScriptedBackend holds the script and the record: which answers queries get, whether opening
// or closing fails, and every SQL text, option and call the program made.
#pragma once

#include "db/data_access.h"

#include <QStringList>

#include <optional>

namespace quarnel::db {

struct ScriptedField {
    QString name;
    int type = 10;
    int oraIDataType = 1;
    int size = 0;
    int precision = 0;
    int scale = 0;
    bool nullOk = true;
    // Reading any of the description's properties fails.
    bool failOnRead = false;
};

struct ScriptedResult {
    std::vector<ScriptedField> fields;
    std::vector<std::vector<QVariant>> rows;
    // DbCreateDynaset fails with this description.
    std::optional<QString> failOnCreate;
    // DbMoveNext fails with failText when it would move onto this zero-based row (-1: never).
    int failMovingTo = -1;
    QString failText = QStringLiteral("ORA-03113: end-of-file on communication channel");

    // A result of one column named `name` with the given values, one per row.
    static ScriptedResult column(const QString& name, const QVariantList& values);
    static ScriptedResult failure(const QString& description);
};

struct ScriptedCall {
    QString sql;
    int options = 0;
    // Whether the query ran inside a read snapshot.
    bool inSnapshot = false;
};

class ScriptedBackend : public std::enable_shared_from_this<ScriptedBackend> {
  public:
    static std::shared_ptr<ScriptedBackend> create() {
        return std::shared_ptr<ScriptedBackend>(new ScriptedBackend);
    }

    // Queries whose SQL contains `needle` get `result`; rules are tried in the order given.
    // A rule added with once() answers one query and is then dropped.
    void on(const QString& needle, ScriptedResult result);
    void once(const QString& needle, ScriptedResult result);

    // How DbOpenDatabase behaves: succeed, be refused by the server, or fail otherwise.
    void refuseLogon(int serverErr, const QString& serverText) {
        m_refuseErr = serverErr;
        m_refuseText = serverText;
    }
    void failLogon(const QString& description) { m_logonFailure = description; }
    void acceptLogon() {
        m_refuseErr = 0;
        m_logonFailure.reset();
    }
    void failClose(bool fail) { m_closeFails = fail; }

    // The factory to hand to the program in place of the real component.
    SessionFactory factory();

    // What the program did.
    const std::vector<ScriptedCall>& queries() const { return m_queries; }
    // Every operation in order, e.g. "CreateSession", "DbOpenDatabase HOST|CONNECT|3", "Close".
    const QStringList& log() const { return m_log; }
    int sessionsCreated() const { return m_sessionsCreated; }
    int openDynasets() const { return m_openDynasets; }
    void clearRecord() {
        m_queries.clear();
        m_log.clear();
    }

    // Used by the scripted objects.
    std::unique_ptr<Dynaset> runQuery(const QString& sql, int options);
    void record(const QString& entry) { m_log.append(entry); }
    void dynasetOpened() { ++m_openDynasets; }
    void dynasetClosed() { --m_openDynasets; }
    bool closeFails() const { return m_closeFails; }
    void setInSnapshot(bool inSnapshot) { m_inSnapshot = inSnapshot; }
    int refuseErr() const { return m_refuseErr; }
    const QString& refuseText() const { return m_refuseText; }
    const std::optional<QString>& logonFailure() const { return m_logonFailure; }

  private:
    ScriptedBackend() = default;

    struct Rule {
        QString needle;
        ScriptedResult result;
        bool once = false;
    };
    std::vector<Rule> m_rules;
    std::vector<ScriptedCall> m_queries;
    QStringList m_log;
    int m_sessionsCreated = 0;
    int m_openDynasets = 0;
    int m_refuseErr = 0;
    QString m_refuseText;
    std::optional<QString> m_logonFailure;
    bool m_closeFails = false;
    bool m_inSnapshot = false;
};

}  // namespace quarnel::db
