#include "browse/schema_search.h"

#include "browse/schema_model.h"
#include "shell/dialogs.h"
#include "shell/ui_texts.h"

namespace quarnel {
namespace {

QString oneLine(QString text) {
    text.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    text.replace(u'\r', u' ');
    text.replace(u'\n', u' ');
    return text;
}

}  // namespace

SchemaSearch::SchemaSearch(AppState& state) : m_state(state) {}

SchemaSearch::~SchemaSearch() = default;

void SchemaSearch::dropStale() {
    if (m_schema && m_schema != m_state.schemaModel) {
        m_index.reset();
        m_schema.reset();
    }
}

void SchemaSearch::clear() {
    dropStale();
    m_result = {};
    m_searched = false;
}

bool SchemaSearch::run(const QString& query, QWidget* parent, bool mayRead) {
    clear();
    if (schema::searchWords(query).isEmpty())
        return true;
    if (!m_state.schemaModel && !mayRead)
        return false;
    const std::shared_ptr<const schema::Schema> model = schemaModel(m_state, parent);
    if (!model)
        return false;
    if (!m_index) {
        std::unique_ptr<schema::SearchIndex> index;
        const bool built = m_state.dialogs->runLongWork(
            parent, ui::kBuildingSearchIndex, [&](WorkProgress& progress) {
                index = std::make_unique<schema::SearchIndex>(
                    *model, [&](qint64 done, qint64 all) { progress.set(done, all); },
                    &progress.cancel);
            });
        if (!built || !index)
            return false;
        m_index = std::move(index);
        m_schema = model;
    }
    m_result = m_index->search(query);
    m_searched = true;
    return true;
}

QStringList SchemaSearch::rowTexts(int row) const {
    const schema::SearchHit& hit = m_result.hits.at(size_t(row));
    return {hit.isTable() ? ui::kSearchKindTable : ui::kSearchKindColumn, tableName(row),
            columnName(row), oneLine(comment(row))};
}

QString SchemaSearch::comment(int row) const {
    const schema::SearchHit& hit = m_result.hits.at(size_t(row));
    const schema::Table& table = m_schema->tables.at(size_t(hit.table));
    return hit.isTable() ? table.comment : table.columns.at(size_t(hit.column)).comment;
}

QString SchemaSearch::tableName(int row) const {
    return m_schema->tables.at(size_t(m_result.hits.at(size_t(row)).table)).name;
}

QString SchemaSearch::columnName(int row) const {
    const schema::SearchHit& hit = m_result.hits.at(size_t(row));
    return hit.isTable()
               ? QString()
               : m_schema->tables.at(size_t(hit.table)).columns.at(size_t(hit.column)).name();
}

QString SchemaSearch::countText() const {
    if (!m_searched)
        return {};
    QString text =
        ui::kSearchCountPrefix + QString::number(m_result.total) + ui::kSearchCountSuffix;
    if (m_result.total > qint64(m_result.hits.size()))
        text +=
            ui::kSearchFirstPrefix + QString::number(m_result.hits.size()) + ui::kSearchFirstSuffix;
    return text;
}

}  // namespace quarnel
