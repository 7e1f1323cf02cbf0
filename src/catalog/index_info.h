// A table's indexes: the index tree, the index lists and the CREATE INDEX script.
#pragma once

#include "db/data_access.h"

#include <QString>

#include <optional>
#include <vector>

namespace quarnel::catalog {

// One node to add to the index tree, in the order given.
struct IndexTreeNode {
    // The key of the parent node; empty for the root (the table).
    QString parentKey;
    // The node's own key; empty for column nodes.
    QString key;
    QString text;
    QString image;
    QString selectedImage;
    // Column nodes are made visible once added, which expands the whole tree.
    bool ensureVisible = false;
    // The parent's place in the list of nodes; -1 for the root.
    int parent = -1;
};

// Tree keys are internal: tables and indexes have their own key spaces, so an index named like
// its table does not clash with the table node.
QString tableNodeKey(const QString& table);
QString indexNodeKey(const QString& index);

struct IndexInfoResult {
    // False when the user owns no table of that name; everything else is then empty.
    bool exists = false;
    // The table node, then each index node followed by its column nodes. After a failure, the
    // nodes produced before it.
    std::vector<IndexTreeNode> nodes;
    // The three texts; all empty when the table is missing or a failure happened.
    QString strIndexInfoCsv;
    QString strIndexInfoTxt;
    QString strCreateIndexSql;
    // The failure's own description.
    std::optional<QString> error;
};

// Asks, inside one read snapshot, whether `table` exists, then for its descending and expression
// index columns, then for its index columns, and builds the tree nodes and the three texts in one
// pass over the rows. An expression stands in place of its column's system name in the tree and
// the texts, unquoted in the script; a descending column gets DESC in the script only. Database
// failures are returned in `error`, never thrown.
IndexInfoResult loadIndexInfo(db::Database& database, const QString& table);

}  // namespace quarnel::catalog
