// The items of the table list: one text per table, under the one column "ﾃｰﾌﾞﾙ名".
// Items are replaced in one batch, so a list of 100,000 tables fills in one step.
#pragma once

#include <QAbstractListModel>

#include <functional>
#include "catalog/table_names.h"

namespace quarnel {

class TableListModel : public QAbstractListModel {
    Q_OBJECT
  public:
    using QAbstractListModel::QAbstractListModel;

    void setNames(catalog::TableNames names);
    void clear() { setNames({}); }
    // Empties the list and hands its items over.
    catalog::TableNames takeNames();
    const catalog::TableNames& names() const { return m_names; }

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // The comment shown as an entry's tooltip, by table name; the name itself when it gives none.
    std::function<QString(const QString&)> comment;

  private:
    catalog::TableNames m_names;
};

}  // namespace quarnel
