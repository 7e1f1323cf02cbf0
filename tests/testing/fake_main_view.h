// A main window without widgets, for testing command units: it keeps what the commands put into
// it and writes each call into a log.
#pragma once

#include "browse/main_view.h"
#include "support/flex_grid.h"

#include <QStringList>

#include <array>
#include <functional>

namespace quarnel::testing {

class FakeMainView : public MainView {
  public:
    QWidget* dialogParent() override { return nullptr; }
    void setPanelText(int panel, const QString& text) override {
        panels.at(size_t(panel - 1)) = text;
    }
    void setConnectedMenus(bool on) override { connected = on; }
    void runLogonDialog() override {
        log << QStringLiteral("logon");
        if (onLogon)
            onLogon();
    }
    void showBusyWindow() override {
        busy = true;
        log << QStringLiteral("busy shown");
    }
    void hideBusyWindow() override {
        busy = false;
        log << QStringLiteral("busy hidden");
    }
    void processPendingMessages() override { log << QStringLiteral("pending messages"); }
    void setTableNames(catalog::TableNames names) override { tableNames = std::move(names); }
    catalog::TableNames takeTableNames() override { return std::exchange(tableNames, {}); }
    QString selectedTableName() const override { return selectedTable; }
    FlexGrid& grid() override { return flexGrid; }
    void closeGridEditor() override { log << QStringLiteral("editor closed"); }
    void clearTree() override {
        treeNodes.clear();
        log << QStringLiteral("tree cleared");
    }
    void addTreeNodes(const std::vector<catalog::IndexTreeNode>& nodes) override {
        treeNodes.insert(treeNodes.end(), nodes.begin(), nodes.end());
        log << QStringLiteral("tree nodes added");
    }
    QString selectedTreeNodeText() const override { return selectedTreeNode; }
    void setPaneTitles(const QString& gridTitle, const QString& treeTitle) override {
        titles = {gridTitle, treeTitle};
    }
    void refreshCreateView(const QString& text) override { createViewTexts << text; }

    std::array<QString, 4> panels;
    bool connected = false;
    bool busy = false;
    catalog::TableNames tableNames;
    QString selectedTable;
    QString selectedTreeNode;
    FlexGrid flexGrid;
    std::vector<catalog::IndexTreeNode> treeNodes;
    QStringList titles;
    QStringList createViewTexts;
    QStringList log;
    std::function<void()> onLogon;
};

}  // namespace quarnel::testing
