// The texts of one table, built from its schema model: the detail grid rows, the column lists,
// the primary-key list, the CREATE TABLE script, the index tree nodes, the index lists and the
// CREATE INDEX script. Lines end in CR LF.
#pragma once

#include "catalog/index_info.h"
#include "schema/schema.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <vector>

namespace quarnel::catalog {

// The primary key's column names in key order; empty without a key.
QStringList primaryKeyColumns(const schema::Table& table);

// The grid rows 1..n, each as its seven cells.
QList<QStringList> tableGridRows(const schema::Table& table);
// strTableInfoTxt, strTableInfoCsv, strPkTxt and strCreateTableSql.
QString tableInfoTxt(const schema::Table& table);
QString tableInfoCsv(const schema::Table& table);
QString pkTxt(const schema::Table& table);
QString createTableSql(const schema::Table& table);

// The table node, then each index node followed by its column nodes. An expression stands in
// place of its column's system name.
std::vector<IndexTreeNode> indexTreeNodes(const schema::Table& table);
// strIndexInfoTxt, strIndexInfoCsv and strCreateIndexSql: an expression stands in place of its
// column's system name, unquoted in the script; a descending column gets DESC in the script only.
QString indexInfoTxt(const schema::Table& table);
QString indexInfoCsv(const schema::Table& table);
QString createIndexSql(const schema::Table& table);

}  // namespace quarnel::catalog
