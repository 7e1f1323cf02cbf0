#include "testing/scripted_engine.h"

namespace quarnel::db {
namespace {

class ScriptedFieldImpl : public Field {
  public:
    ScriptedFieldImpl(const ScriptedField& spec, const int* row,
                      const std::vector<std::vector<QVariant>>* rows, int column)
        : m_spec(spec), m_row(row), m_rows(rows), m_column(column) {}

    QVariant Value() const override {
        if (*m_row < 0 || *m_row >= int(m_rows->size()))
            return {};
        const auto& values = (*m_rows)[size_t(*m_row)];
        return m_column < int(values.size()) ? values[size_t(m_column)] : QVariant();
    }
    QString Name() const override { return check().name; }
    int Type() const override { return check().type; }
    int OraIDataType() const override { return check().oraIDataType; }
    int Size() const override { return check().size; }
    int OraPrecision() const override { return check().precision; }
    int OraScale() const override { return check().scale; }
    bool OraNullOK() const override { return check().nullOk; }

  private:
    const ScriptedField& check() const {
        if (m_spec.failOnRead)
            throw DbError(QStringLiteral("ORA-00932: inconsistent datatypes"));
        return m_spec;
    }

    ScriptedField m_spec;
    const int* m_row;
    const std::vector<std::vector<QVariant>>* m_rows;
    int m_column;
};

class ScriptedDynaset : public Dynaset {
  public:
    ScriptedDynaset(std::shared_ptr<ScriptedBackend> backend, ScriptedResult result)
        : m_backend(std::move(backend)), m_result(std::move(result)) {
        if (m_result.failMovingTo == 0)
            throw DbError(m_result.failText);
        size_t columns = m_result.fields.size();
        for (const auto& row : m_result.rows)
            columns = std::max(columns, row.size());
        for (size_t i = 0; i < columns; ++i) {
            ScriptedField spec = i < m_result.fields.size() ? m_result.fields[i] : ScriptedField{};
            m_fields.push_back(
                std::make_unique<ScriptedFieldImpl>(spec, &m_row, &m_result.rows, int(i)));
        }
        m_backend->dynasetOpened();
    }
    ~ScriptedDynaset() override { m_backend->dynasetClosed(); }

    bool Eof() const override { return m_row >= int(m_result.rows.size()); }
    void DbMoveNext() override {
        if (Eof())
            throw DbError(QStringLiteral("No current record"));
        if (m_row + 1 == m_result.failMovingTo)
            throw DbError(m_result.failText);
        ++m_row;
    }
    int FieldCount() const override { return int(m_fields.size()); }
    const Field& Fields(int index) const override {
        if (index < 0 || index >= FieldCount()) {
            throw DbError(QStringLiteral("Field index %1 out of range").arg(index));
        }
        return *m_fields[size_t(index)];
    }

  private:
    std::shared_ptr<ScriptedBackend> m_backend;
    ScriptedResult m_result;
    int m_row = 0;
    std::vector<std::unique_ptr<ScriptedFieldImpl>> m_fields;
};

class ScriptedDatabase : public Database {
  public:
    explicit ScriptedDatabase(std::shared_ptr<ScriptedBackend> backend)
        : m_backend(std::move(backend)) {}

    void LastServerErrReset() override { m_backend->record(QStringLiteral("Database.Reset")); }
    int LastServerErr() const override { return 0; }
    QString LastServerErrText() const override { return {}; }

    std::unique_ptr<Dynaset> DbCreateDynaset(const QString& sql, int options) override {
        if (m_closed)
            throw DbError(QStringLiteral("Database is closed"));
        return m_backend->runQuery(sql, options);
    }
    void Close() override {
        m_backend->record(QStringLiteral("Close"));
        if (m_backend->closeFails())
            throw DbError(QStringLiteral("Close failed"));
        m_closed = true;
    }

  protected:
    void beginSnapshot() override {
        m_backend->record(QStringLiteral("BeginReadSnapshot"));
        m_backend->setInSnapshot(true);
    }
    void endSnapshot() noexcept override {
        m_backend->record(QStringLiteral("EndReadSnapshot"));
        m_backend->setInSnapshot(false);
    }

  private:
    std::shared_ptr<ScriptedBackend> m_backend;
    bool m_closed = false;
};

class ScriptedSession : public Session {
  public:
    explicit ScriptedSession(std::shared_ptr<ScriptedBackend> backend)
        : m_backend(std::move(backend)) {}

    void LastServerErrReset() override {
        m_backend->record(QStringLiteral("Session.Reset"));
        m_err = 0;
        m_errText.clear();
    }
    int LastServerErr() const override { return m_err; }
    QString LastServerErrText() const override { return m_errText; }

    std::shared_ptr<Database> DbOpenDatabase(const QString& host, const QString& connect,
                                             int options) override {
        m_backend->record(
            QStringLiteral("DbOpenDatabase %1|%2|%3").arg(host, connect).arg(options));
        if (m_backend->refuseErr() != 0) {
            m_err = m_backend->refuseErr();
            m_errText = m_backend->refuseText();
            throw DbError(QStringLiteral("OIP-04119: server refused the logon"), 440);
        }
        if (m_backend->logonFailure())
            throw DbError(*m_backend->logonFailure());
        return std::make_shared<ScriptedDatabase>(m_backend);
    }

  private:
    std::shared_ptr<ScriptedBackend> m_backend;
    int m_err = 0;
    QString m_errText;
};

}  // namespace

ScriptedResult ScriptedResult::column(const QString& name, const QVariantList& values) {
    ScriptedResult result;
    result.fields.push_back(ScriptedField{name});
    for (const auto& value : values)
        result.rows.push_back({value});
    return result;
}

ScriptedResult ScriptedResult::failure(const QString& description) {
    ScriptedResult result;
    result.failOnCreate = description;
    return result;
}

void ScriptedBackend::on(const QString& needle, ScriptedResult result) {
    m_rules.push_back(Rule{needle, std::move(result), false});
}

void ScriptedBackend::once(const QString& needle, ScriptedResult result) {
    m_rules.push_back(Rule{needle, std::move(result), true});
}

SessionFactory ScriptedBackend::factory() {
    std::weak_ptr<ScriptedBackend> weak = shared_from_this();
    return [weak](const QString& className) -> std::shared_ptr<Session> {
        auto backend = weak.lock();
        if (!backend || className != QLatin1String(kSessionClassName)) {
            throw DbError(QStringLiteral("ActiveX コンポーネントはオブジェクトを作成できません"),
                          429);
        }
        ++backend->m_sessionsCreated;
        backend->record(QStringLiteral("CreateSession"));
        return std::make_shared<ScriptedSession>(backend);
    };
}

std::unique_ptr<Dynaset> ScriptedBackend::runQuery(const QString& sql, int options) {
    m_queries.push_back(ScriptedCall{sql, options, m_inSnapshot});
    m_log.append(QStringLiteral("DbCreateDynaset %1|%2").arg(sql).arg(options));
    for (auto it = m_rules.begin(); it != m_rules.end(); ++it) {
        if (!sql.contains(it->needle))
            continue;
        ScriptedResult result = it->result;
        if (it->once)
            m_rules.erase(it);
        if (result.failOnCreate)
            throw DbError(*result.failOnCreate);
        return std::make_unique<ScriptedDynaset>(shared_from_this(), std::move(result));
    }
    throw DbError(QStringLiteral("ORA-00942: table or view does not exist (no scripted answer "
                                 "for: %1)")
                      .arg(sql));
}

}  // namespace quarnel::db
