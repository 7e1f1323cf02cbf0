#include "app/search_result_model.h"

#include "browse/schema_search.h"
#include "shell/ui_texts.h"

namespace quarnel {

SearchResultModel::SearchResultModel(const SchemaSearch& search, QObject* parent)
    : QAbstractTableModel(parent), m_search(search) {}

void SearchResultModel::refresh() {
    beginResetModel();
    m_rows = m_search.rowCount();
    endResetModel();
}

int SearchResultModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_rows;
}

int SearchResultModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : 4;
}

QVariant SearchResultModel::data(const QModelIndex& index, int role) const {
    // The search may have moved on (a model read runs an event loop) before refresh() tells.
    if (!index.isValid() || index.row() >= m_rows || index.row() >= m_search.rowCount())
        return {};
    if (role == Qt::DisplayRole)
        return m_search.rowTexts(index.row()).value(index.column());
    // The whole comment, line ends and all.
    if (role == Qt::ToolTipRole && index.column() == 3) {
        const QString comment = m_search.comment(index.row());
        return comment.isEmpty() ? QVariant() : QVariant(comment);
    }
    return {};
}

QVariant SearchResultModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    const QString headers[] = {ui::kSearchKindHeader, ui::kSearchTableHeader,
                               ui::kSearchColumnHeader, ui::kSearchCommentHeader};
    return section >= 0 && section < 4 ? QVariant(headers[section]) : QVariant();
}

}  // namespace quarnel
