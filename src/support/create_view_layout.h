// Placement arithmetic of the DDL window `frmCreate`: its designed controls and its resize rule.
// All values are twips; window sizes are outer sizes, control rectangles are in the client area.
#pragma once

#include "support/main_layout.h"

namespace quarnel::layout {

// The smallest outer size the DDL window's resize lets stand.
inline constexpr double kCreateViewMinimumWidth = 5500;
inline constexpr double kCreateViewMinimumHeight = 5000;

struct CreateViewLayout {
    Rect rtxtCrMoniter;  // the script box
    Rect Command1;       // "閉じる"

    // The designed rectangles, before the first resize.
    static CreateViewLayout design();

    friend bool operator==(const CreateViewLayout&, const CreateViewLayout&) = default;
};

// The outer size the resize gives a window of outer size `size`: width raised to 5500, height
// raised to 5000.
OuterSize clampCreateViewSize(OuterSize size);

// The resize rule for outer size `window` (already clamped): the box keeps its left and top and
// is 105 narrower and 1305 lower than the window; the button sits 60 under the box, its right
// edge 90 inside the box's right edge. A negative box width or height is refused (kept).
void resizeCreateView(CreateViewLayout& layout, OuterSize window);

}  // namespace quarnel::layout
