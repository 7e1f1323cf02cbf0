#include "support/create_view_layout.h"

namespace quarnel::layout {

CreateViewLayout CreateViewLayout::design() {
    // The box fills the 5955 x 4200 client area above the button row.
    CreateViewLayout layout;
    layout.rtxtCrMoniter = {0, 30, 5955, 3645};
    layout.Command1 = {4650, 3735, 1215, 375};
    return layout;
}

OuterSize clampCreateViewSize(OuterSize size) {
    if (size.width < kCreateViewMinimumWidth)
        size.width = kCreateViewMinimumWidth;
    if (size.height < kCreateViewMinimumHeight)
        size.height = kCreateViewMinimumHeight;
    return size;
}

void resizeCreateView(CreateViewLayout& layout, OuterSize window) {
    Rect& box = layout.rtxtCrMoniter;
    if (window.width - 105 >= 0)
        box.width = window.width - 105;
    if (window.height - 1305 >= 0)
        box.height = window.height - 1305;
    Rect& button = layout.Command1;
    button.top = box.top + box.height + 60;
    button.left = box.left + box.width - button.width - 90;
}

}  // namespace quarnel::layout
