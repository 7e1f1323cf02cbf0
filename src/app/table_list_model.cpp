#include "app/table_list_model.h"

#include "shell/ui_texts.h"

namespace quarnel {

void TableListModel::setNames(catalog::TableNames names) {
    beginResetModel();
    m_names = std::move(names);
    endResetModel();
}

catalog::TableNames TableListModel::takeNames() {
    beginResetModel();
    catalog::TableNames names = std::move(m_names);
    m_names = {};
    endResetModel();
    return names;
}

int TableListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_names.size());
}

QVariant TableListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= m_names.size())
        return {};
    if (role == Qt::ToolTipRole && comment) {
        const QString name = m_names.at(index.row());
        const QString text = comment(name);
        return text.isEmpty() ? name : text;
    }
    if (role == Qt::DisplayRole || role == Qt::ToolTipRole)
        return m_names.at(index.row());
    return {};
}

QVariant TableListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && section == 0 && role == Qt::DisplayRole) {
        return ui::kTableNameHeader;
    }
    return {};
}

}  // namespace quarnel
