// Placement arithmetic of the main window `frm_mainkey`: its minimum size, the two layout
// procedures `SizeControls` and `SizeControls2`, and the drag handling of the two splitters.
//
// Everything here is plain arithmetic on control rectangles in twips, without widgets. The window
// keeps one MainLayout as the record of its controls' positions, hands it to these functions and
// applies the result to the widgets through the twips conversion (support/twips.h). The record,
// not the widgets, stays the source of truth: a widget rounds to whole pixels, and reading that
// back would make later layouts drift from the rules below.
//
// Precision: positions and sizes are doubles. The rules only add and subtract whole twips, so for
// whole-twip inputs every result is a whole number well inside 2^24 and comes out exactly as it
// would in single precision.
//
// Refused assignments: each step of a layout sets one property of one control. A negative width
// or height is refused, as the window system refuses it: the property keeps its value and the
// following steps still run, reading whatever the controls then hold. Negative lefts and tops are
// accepted.
//
// Split positions are not kept anywhere else: the vertical split is the left of `imgSplitter`, the
// horizontal split the top of `imgSplitter2`.
#pragma once

#include <array>

namespace quarnel::layout {

struct Rect {
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;

    friend bool operator==(const Rect&, const Rect&) = default;
};

// Every control of the main window that the layout rules read or set, in twips.
struct MainLayout {
    std::array<Rect, 3> lblTitle;  // the titles over the list, the grid and the tree
    Rect lstTableList;
    Rect MSFlexGrid1;
    Rect tvTreeView;
    Rect imgSplitter;   // grab area of the vertical splitter
    Rect imgSplitter2;  // grab area of the horizontal splitter
    Rect picSplitter;   // vertical drag bar
    Rect picSplitter2;  // horizontal drag bar
    Rect cmdView;
    Rect Command1;
    Rect Label1;
    // Width of the first column header of `lstTableList` (the table-name column).
    double lstTableListHeaderWidth = 0;
    bool picSplitterVisible = false;
    bool picSplitter2Visible = false;

    // The designed rectangles, before the first layout. The header width is the one the window's
    // load gives it: the list's width less 500.
    static MainLayout design();

    friend bool operator==(const MainLayout&, const MainLayout&) = default;
};

// Designed split positions: the left of `imgSplitter` and the top of `imgSplitter2` (and of
// `picSplitter2`, which the load stores in `sngSplitter2Top`).
inline constexpr double kDesignSplitterLeft = 2880;
inline constexpr double kDesignSplitter2Top = 3240;

// The smallest outer window size `Form_Resize` lets stand.
inline constexpr double kMinimumWindowWidth = 5500;
inline constexpr double kMinimumWindowHeight = 5000;

struct OuterSize {
    double width = 0;
    double height = 0;

    friend bool operator==(const OuterSize&, const OuterSize&) = default;
};

// The outer size `Form_Resize` gives a window of outer size `size`: width raised to 5500, then
// height raised to 5000. Equal to `size` when it is large enough.
OuterSize clampToMinimumSize(OuterSize size);

// The layout step of `Form_Resize` for outer width W, outer height H and client height SH:
// nothing when the window is minimised (returns false, layout untouched); otherwise
// `SizeControls` with a copy of the left of `imgSplitter` (returns true). The window closes the
// in-grid editor and applies clampToMinimumSize itself before this, and passes the sizes the
// window has afterwards.
bool Form_Resize(MainLayout& layout, bool minimised, double W, double H, double SH);

// Lays out the whole window for vertical split position x, clamped in place to 1500 .. W - 4000
// (the upper limit wins). The horizontal split, the top of `imgSplitter2`, is clamped in place to
// 2500 .. H - 2500. W and H are the window's outer width and height, SH its client height.
void SizeControls(MainLayout& layout, double& x, double W, double H, double SH);

// Which way `SizeControls2` placed the tree: when the split moved down or stayed, the tree
// shrinks and its height is set before its top; when it moved up, its top first.
enum class TreeOrder { HeightFirst, TopFirst };

// Lays out the right column for horizontal split position y, clamped in place to 2500 .. H - 2500,
// and records it in `sngSplitter2Top`, the split it last applied (the program-wide value, which
// starts at kDesignSplitter2Top). Returns the order in which the tree was placed, for the window
// to apply the tree's geometry in the same order.
TreeOrder SizeControls2(MainLayout& layout, double& y, double H, double& sngSplitter2Top);

// Drag handling. `blnDragging` is the window's one flag for both splitters. Closing the in-grid
// editor on a press is the window's part.

// A press on `imgSplitter`: the drag bar `picSplitter` covers the grab area, at half its width,
// and is shown. A bar size the window system would refuse leaves the bar where it was.
void imgSplitter_MouseDown(MainLayout& layout, bool& blnDragging);
// Pointer at X (relative to `imgSplitter`) while dragging: the bar follows within 500 .. W - 500.
void imgSplitter_MouseMove(MainLayout& layout, bool blnDragging, double X, double W);
// Release: `SizeControls` at the bar's left, then the bar is hidden and the drag ends.
void imgSplitter_MouseUp(MainLayout& layout, bool& blnDragging, double W, double H, double SH);

// The same for the horizontal splitter: bar `picSplitter2` at half the height of `imgSplitter2`,
// moves within 500 .. H - 1300, and the release runs `SizeControls2` at the bar's top.
void imgSplitter2_MouseDown(MainLayout& layout, bool& blnDragging);
void imgSplitter2_MouseMove(MainLayout& layout, bool blnDragging, double Y, double H);
TreeOrder imgSplitter2_MouseUp(MainLayout& layout, bool& blnDragging, double H,
                               double& sngSplitter2Top);

}  // namespace quarnel::layout
