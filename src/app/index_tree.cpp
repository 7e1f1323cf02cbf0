#include "app/index_tree.h"

#include <QTreeWidget>

namespace quarnel {
namespace {

// The place of a picture key "a" to "f" in the image list; -1 for any other key.
int imageSlot(const QString& key) {
    if (key.size() != 1)
        return -1;
    const int slot = key[0].unicode() - u'a';
    return slot >= 0 && slot < 6 ? slot : -1;
}

// A node that keeps its text and refers to its picture rather than storing both as item data,
// so that building a node is one allocation.
class IndexNodeItem : public QTreeWidgetItem {
  public:
    IndexNodeItem(const QString& text, const QIcon& icon)
        : QTreeWidgetItem(UserType), m_text(text), m_icon(icon) {}

    QVariant data(int column, int role) const override {
        if (column == 0) {
            if (role == Qt::DisplayRole || role == Qt::EditRole)
                return m_text;
            if (role == Qt::DecorationRole && !m_icon.isNull())
                return m_icon;
        }
        return QTreeWidgetItem::data(column, role);
    }
    void setData(int column, int role, const QVariant& value) override {
        if (column == 0 && (role == Qt::DisplayRole || role == Qt::EditRole))
            m_text = value.toString();
        if (column == 0 && role == Qt::DecorationRole)
            m_icon = QIcon();
        QTreeWidgetItem::setData(column, role, value);
    }

  private:
    QString m_text;
    QIcon m_icon;
};

}  // namespace

IndexTree::IndexTree(QTreeWidget* tree, QHash<QString, QIcon> images)
    : m_tree(tree), m_images(std::move(images)) {}

void IndexTree::clear() {
    m_keyed.clear();
    m_tree->clear();
}

QIcon IndexTree::nodeIcon(const QString& image, const QString& selectedImage) {
    const int normal = imageSlot(image);
    const int selected = imageSlot(selectedImage);
    if (normal < 0 || selected < 0)
        return QIcon();
    QIcon& icon = m_nodeIcons[size_t(normal * kImages + selected)];
    if (icon.isNull()) {
        icon.addPixmap(m_images.value(image).pixmap(12, 12), QIcon::Normal);
        icon.addPixmap(m_images.value(selectedImage).pixmap(12, 12), QIcon::Selected);
    }
    return icon;
}

void IndexTree::addNodes(const std::vector<catalog::IndexTreeNode>& nodes) {
    std::vector<QTreeWidgetItem*> items;
    items.reserve(nodes.size());
    QList<QTreeWidgetItem*> roots;
    bool anyVisible = false;
    for (const catalog::IndexTreeNode& node : nodes) {
        auto* item = new IndexNodeItem(node.text, nodeIcon(node.image, node.selectedImage));
        if (node.parent >= 0 && size_t(node.parent) < items.size()) {
            items[size_t(node.parent)]->addChild(item);
        } else {
            roots.append(item);
        }
        items.push_back(item);
        if (!node.key.isEmpty())
            m_keyed.emplace_back(node.key, item);
        anyVisible = anyVisible || node.ensureVisible;
    }
    m_tree->setUpdatesEnabled(false);
    m_tree->addTopLevelItems(roots);
    // Every column node is made visible, which opens its index and the table: the whole tree.
    if (anyVisible)
        m_tree->expandAll();
    m_tree->setUpdatesEnabled(true);
}

QTreeWidgetItem* IndexTree::node(const QString& key) const {
    for (const auto& [nodeKey, item] : m_keyed) {
        if (nodeKey == key)
            return item;
    }
    return nullptr;
}

}  // namespace quarnel
