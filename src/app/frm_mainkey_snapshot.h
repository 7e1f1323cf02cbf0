// The main window's snapshot commands: File menu 「ｽﾅｯﾌﾟｼｮｯﾄの保存(&N)...」 and View menu
// 「ｽｷｰﾏ比較(&M)...」, whose report opens in a window of its own.
#pragma once

namespace quarnel {

struct AppState;
class frm_mainkey;

// Connects the two entries of `window`'s menus. `state` must outlive the window.
void connectSnapshotCommands(frm_mainkey& window, AppState& state);

}  // namespace quarnel
