// A database from the scripted engine with the answers the catalogue queries expect.
#pragma once

#include "testing/scripted_engine.h"

#include <QStringList>

#include <array>
#include <memory>
#include <vector>

namespace quarnel::catalog::fixtures {

// One described column, given in the order name, Oracle type, precision, size, value type,
// nullability, scale.
inline db::ScriptedField describedColumn(const QString& name, int oraIDataType, int precision,
                                         int size, int type, bool nullOk, int scale = 0) {
    db::ScriptedField field;
    field.name = name;
    field.oraIDataType = oraIDataType;
    field.precision = precision;
    field.size = size;
    field.type = type;
    field.nullOk = nullOk;
    field.scale = scale;
    return field;
}

// One row of the index query: index name, table name, position, column name.
using IndexRow = std::array<QVariant, 4>;

// Answers for the catalogue's queries. `failMovingTo` makes the fetch fail when it would move
// onto that zero-based row.
class ScriptedCatalog {
  public:
    ScriptedCatalog() {
        auto session = m_backend->factory()(QLatin1String(db::kSessionClassName));
        m_database = session->DbOpenDatabase(QStringLiteral("HOST"), QStringLiteral("u/p"), 0);
        m_backend->clearRecord();
    }

    db::Database& database() { return *m_database; }

    void tableCount(const QVariant& count) {
        m_backend->on(QStringLiteral("count(table_name)"),
                      db::ScriptedResult::column(QStringLiteral("TBL"), {count}));
    }
    void primaryKey(const QStringList& names, int failMovingTo = -1) {
        auto result = db::ScriptedResult::column(QStringLiteral("P_KEY"), toVariants(names));
        result.failMovingTo = failMovingTo;
        m_backend->on(QStringLiteral("P_KEY"), std::move(result));
    }
    void columns(const std::vector<db::ScriptedField>& fields) {
        db::ScriptedResult result;
        result.fields = fields;
        m_backend->on(QStringLiteral("RowNum < 1"), std::move(result));
    }
    // Descending and expression columns: index name, position, descend, expression (null for a
    // plain column), answered as the direction and the expression queries see them. Given before
    // indexRows, which answers with no such column otherwise.
    void indexForms(const std::vector<IndexRow>& rows) {
        db::ScriptedResult directions;
        db::ScriptedResult expressions;
        for (const char* name : {"INDEX_NAME", "COLUMN_POSITION"}) {
            directions.fields.push_back(db::ScriptedField{QLatin1String(name)});
            expressions.fields.push_back(db::ScriptedField{QLatin1String(name)});
        }
        expressions.fields.push_back(db::ScriptedField{QStringLiteral("COLUMN_EXPRESSION")});
        for (const IndexRow& row : rows) {
            if (row[2].toString() == QLatin1String("DESC"))
                directions.rows.push_back({row[0], row[1]});
            if (!row[3].isNull())
                expressions.rows.push_back({row[0], row[1], row[3]});
        }
        m_backend->on(QStringLiteral("descend = 'DESC'"), std::move(directions));
        m_backend->on(QStringLiteral("user_ind_expressions"), std::move(expressions));
        m_formsGiven = true;
    }
    void indexRows(const std::vector<IndexRow>& rows, int failMovingTo = -1) {
        if (!m_formsGiven)
            indexForms({});
        db::ScriptedResult result;
        for (const char* name : {"INDEX_NAME", "TABLE_NAME", "COLUMN_POSITION", "COLUMN_NAME"}) {
            result.fields.push_back(db::ScriptedField{QLatin1String(name)});
        }
        for (const IndexRow& row : rows)
            result.rows.emplace_back(row.begin(), row.end());
        result.failMovingTo = failMovingTo;
        m_backend->on(QStringLiteral("user_ind_columns"), std::move(result));
    }
    void tableNames(const QStringList& names, int failMovingTo = -1) {
        auto result = db::ScriptedResult::column(QStringLiteral("TBL"), toVariants(names));
        result.failMovingTo = failMovingTo;
        m_backend->on(QStringLiteral("SELECT table_name tbl"), std::move(result));
    }
    void fail(const QString& needle, const QString& description) {
        m_backend->on(needle, db::ScriptedResult::failure(description));
    }

    QStringList sqlSent() const {
        QStringList sql;
        for (const auto& call : m_backend->queries())
            sql.append(call.sql);
        return sql;
    }
    std::vector<int> optionsSent() const {
        std::vector<int> options;
        for (const auto& call : m_backend->queries())
            options.push_back(call.options);
        return options;
    }
    int openDynasets() const { return m_backend->openDynasets(); }
    const db::ScriptedBackend& backend() const { return *m_backend; }

  private:
    static QVariantList toVariants(const QStringList& names) {
        QVariantList values;
        values.reserve(names.size());
        for (const QString& name : names)
            values.append(name);
        return values;
    }

    std::shared_ptr<db::ScriptedBackend> m_backend = db::ScriptedBackend::create();
    std::shared_ptr<db::Database> m_database;
    bool m_formsGiven = false;
};

}  // namespace quarnel::catalog::fixtures
