// The main window's copy commands: the Edit menu's copy entries (also reached through the
// context menus of the list, the grid and the tree) run the copy commands over the program-wide
// state and the system clipboard.
#pragma once

namespace quarnel {

struct AppState;
class frm_mainkey;

// Connects the copy entries of `window`'s menus to the copy commands and opens the grid's
// context menu on a right-button press. `state` must outlive the window.
void connectCopyCommands(frm_mainkey& window, const AppState& state);

}  // namespace quarnel
