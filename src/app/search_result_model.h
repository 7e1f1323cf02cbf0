// The search window's result list: one row per hit of the last search, four columns.
#pragma once

#include <QAbstractTableModel>

namespace quarnel {

class SchemaSearch;

class SearchResultModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    SearchResultModel(const SchemaSearch& search, QObject* parent);

    // Shows the search's current result, in one batch.
    void refresh();

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  private:
    const SchemaSearch& m_search;
    int m_rows = 0;
};

}  // namespace quarnel
