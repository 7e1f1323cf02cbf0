// The nodes of the index tree `tvTreeView`: built away from the tree and inserted in one call,
// each node kind's picture made once.
#pragma once

#include "catalog/index_info.h"

#include <QHash>
#include <QIcon>
#include <QString>

#include <array>
#include <utility>
#include <vector>

class QTreeWidget;
class QTreeWidgetItem;

namespace quarnel {

class IndexTree {
  public:
    // `images`: the image list, pictures keyed "a" to "f".
    IndexTree(QTreeWidget* tree, QHash<QString, QIcon> images);

    // Removes every node.
    void clear();
    // Adds the nodes in their order under the nodes already there; a node's `parent` is its
    // parent's place in `nodes`. The whole tree is expanded when a node asks to be visible.
    void addNodes(const std::vector<catalog::IndexTreeNode>& nodes);
    // The node with this key (see catalog::tableNodeKey and indexNodeKey), or null.
    QTreeWidgetItem* node(const QString& key) const;

  private:
    // The picture of a node: `image`, and `selectedImage` while it is selected.
    QIcon nodeIcon(const QString& image, const QString& selectedImage);

    static constexpr int kImages = 6;  // "a" to "f"
    QTreeWidget* m_tree;
    QHash<QString, QIcon> m_images;
    // Node pictures by image and selected image, each made on first use.
    std::array<QIcon, kImages * kImages> m_nodeIcons;
    // The keyed nodes shown (the table and its indexes), in the order added.
    std::vector<std::pair<QString, QTreeWidgetItem*>> m_keyed;
};

}  // namespace quarnel
