// The main window as the browsing and export commands see it: the controls they read and fill,
// reached without the window class. frm_mainkey implements it over its widgets; a test can put
// its own in its place.
#pragma once

#include "catalog/index_info.h"
#include "catalog/table_names.h"

#include <QString>

#include <vector>

class QWidget;

namespace quarnel {

class FlexGrid;

class MainView {
  public:
    virtual ~MainView() = default;

    // The window that owns message boxes and modal windows.
    virtual QWidget* dialogParent() = 0;

    // Status bar panels 1 to 4.
    virtual void setPanelText(int panel, const QString& text) = 0;
    // The connect entry enabled and the disconnect entry disabled when not connected; the
    // reverse when connected.
    virtual void setConnectedMenus(bool connected) = 0;
    // Shows a fresh logon dialog modally and returns once it has closed.
    virtual void runLogonDialog() = 0;

    // The busy window `frmSearch`, shown over the window while a read runs.
    virtual void showBusyWindow() = 0;
    virtual void hideBusyWindow() = 0;
    // Lets the window system paint and deliver what is pending, except user input.
    virtual void processPendingMessages() = 0;

    // The table list `lstTableList`: its items replaced whole, or handed over and emptied.
    virtual void setTableNames(catalog::TableNames names) = 0;
    virtual catalog::TableNames takeTableNames() = 0;
    // The text of the selected item; empty when none is selected.
    virtual QString selectedTableName() const = 0;
    // Selects the list item with this text; false when there is none.
    virtual bool selectTableInList(const QString&) { return false; }

    // The detail grid `MSFlexGrid1` (its cells and properties).
    virtual FlexGrid& grid() = 0;
    // Empties and hides the in-grid editor `text1`.
    virtual void closeGridEditor() = 0;

    // The index tree `tvTreeView`.
    virtual void clearTree() = 0;
    // Adds the nodes in their order; a node's `parent` is its parent's place in `nodes`.
    virtual void addTreeNodes(const std::vector<catalog::IndexTreeNode>& nodes) = 0;
    // The text of the selected node; empty when none is selected.
    virtual QString selectedTreeNodeText() const = 0;

    // The titles over the grid (`lblTitle(1)`) and over the tree (`lblTitle(2)`).
    virtual void setPaneTitles(const QString& gridTitle, const QString& treeTitle) = 0;

    // Gives the DDL window its text; called only while that window is open.
    virtual void refreshCreateView(const QString& text) = 0;
};

}  // namespace quarnel
