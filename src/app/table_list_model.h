// The items of the table list: one text per table, under the one column "ﾃｰﾌﾞﾙ名".
// Items are replaced in one batch, so a list of 100,000 tables fills in one step.
#pragma once

#include <QAbstractListModel>
#include <QStringList>

namespace quarnel {

class TableListModel : public QAbstractListModel {
    Q_OBJECT
  public:
    using QAbstractListModel::QAbstractListModel;

    void setNames(QStringList names);
    void clear() { setNames({}); }
    const QStringList& names() const { return m_names; }

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  private:
    QStringList m_names;
};

}  // namespace quarnel
