// The search window's command: a query over the whole-schema model, its hits as the result list
// shows them, and the count line. The model is read on the first search after logon (progress
// dialog, cancel) and kept in AppState; the search index over it is built once per model.
#pragma once

#include "schema/search_index.h"
#include "shell/app_state.h"

#include <QString>
#include <QStringList>

#include <memory>

class QWidget;

namespace quarnel {

class SchemaSearch {
  public:
    explicit SchemaSearch(AppState& state);
    ~SchemaSearch();

    // Searches for `query`. Without a model in AppState, `mayRead` says whether to read it now;
    // a cancelled or failed read leaves the result empty and returns false.
    bool run(const QString& query, QWidget* parent, bool mayRead);
    // Forgets the result (and the index when the program-wide model has gone or changed).
    void clear();

    // False when the hits shown come from a model the program has since dropped or replaced.
    bool current() const { return !m_schema || m_schema == m_state.schemaModel; }

    const schema::SearchResult& result() const { return m_result; }
    int rowCount() const { return int(m_result.hits.size()); }
    // The texts of the result list's row: kind, table name, column name (empty for a table) and
    // the comment on one line.
    QStringList rowTexts(int row) const;
    // The hit's whole comment.
    QString comment(int row) const;
    QString tableName(int row) const;
    // Empty for a table hit.
    QString columnName(int row) const;
    // "該当件数 : n件", with " (先頭m件を表示)" when the list holds only the first hits; empty
    // while nothing was searched.
    QString countText() const;

  private:
    // Drops the index when AppState's model is no longer the one it was built from.
    void dropStale();

    AppState& m_state;
    std::shared_ptr<const schema::Schema> m_schema;
    std::unique_ptr<schema::SearchIndex> m_index;
    schema::SearchResult m_result;
    bool m_searched = false;
};

}  // namespace quarnel
