#include "support/main_layout.h"

#include <cmath>

namespace quarnel::layout {

namespace {

// Fixed design values that enter the rules.
constexpr double kMinSplitLeft = 1500;       // vertical split, lowest
constexpr double kSplitRightMargin = 4000;   // vertical split, highest is W minus this
constexpr double kMinSplitTop = 2500;        // horizontal split, lowest
constexpr double kSplitBottomMargin = 2500;  // horizontal split, highest is H minus this
constexpr double kDragMin = 500;             // drag bars, lowest left and top
constexpr double kDragRightMargin = 500;     // vertical bar, highest left is W minus this
constexpr double kDragBottomMargin = 1300;   // horizontal bar, highest top is H minus this

// A width or height assignment: the window system refuses a negative size, and the control
// keeps what it had.
void setSize(double& property, double value) {
    if (value >= 0) {
        property = value;
    }
}

// A size rounded to whole twips and halved, the remainder dropped (150 gives 75). Which way a
// half twip rounds makes no difference once the remainder is dropped.
double halfOf(double size) {
    return std::trunc(std::round(size) / 2);
}

// Moves a control in one call: refused as a whole when the size is negative.
void moveControl(Rect& control, const Rect& to) {
    if (to.width >= 0 && to.height >= 0) {
        control = to;
    }
}

// The tree's two placements that depend on the horizontal split, shared by both layouts.
void setTreeHeight(MainLayout& l) {
    setSize(l.tvTreeView.height,
            l.lstTableList.height - l.MSFlexGrid1.height - l.imgSplitter2.height - 230);
}

void setTreeTop(MainLayout& l) {
    l.tvTreeView.top = l.lblTitle[2].top + l.lblTitle[2].height + 30;
}

}  // namespace

MainLayout MainLayout::design() {
    MainLayout l;
    l.lblTitle[0] = {0, 120, 2870, 270};
    l.lstTableList = {0, 480, 2895, 5130};
    l.lblTitle[1] = {2955, 120, 6000, 270};
    l.MSFlexGrid1 = {2945, 480, 6000, 2775};
    l.lblTitle[2] = {2950, 3360, 6000, 270};
    l.tvTreeView = {2945, 3720, 6000, 1905};
    l.imgSplitter = {kDesignSplitterLeft, 480, 150, 5145};
    l.imgSplitter2 = {2880, kDesignSplitter2Top, 6135, 150};
    l.picSplitter = {9120, 360, 72, 5160};
    l.picSplitter2 = {3120, kDesignSplitter2Top, 5835, 72};
    l.cmdView = {120, 5760, 1215, 375};
    l.Command1 = {7640, 5760, 1215, 375};
    l.Label1 = {0, 6240, 8535, 45};
    l.lstTableListHeaderWidth = l.lstTableList.width - 500;
    return l;
}

OuterSize clampToMinimumSize(OuterSize size) {
    if (size.width < kMinimumWindowWidth) {
        size.width = kMinimumWindowWidth;
    }
    if (size.height < kMinimumWindowHeight) {
        size.height = kMinimumWindowHeight;
    }
    return size;
}

bool Form_Resize(MainLayout& layout, bool minimised, double W, double H, double SH) {
    if (minimised) {
        return false;
    }
    double x = layout.imgSplitter.left;
    SizeControls(layout, x, W, H, SH);
    return true;
}

void SizeControls(MainLayout& l, double& x, double W, double H, double SH) {
    if (x < kMinSplitLeft) {
        x = kMinSplitLeft;
    }
    if (x > W - kSplitRightMargin) {
        x = W - kSplitRightMargin;
    }
    setSize(l.lstTableList.width, x);

    if (l.imgSplitter2.top < kMinSplitTop) {
        l.imgSplitter2.top = kMinSplitTop;
    }
    if (l.imgSplitter2.top > H - kSplitBottomMargin) {
        l.imgSplitter2.top = H - kSplitBottomMargin;
    }
    const double y = l.imgSplitter2.top;

    l.lstTableList.top = l.lblTitle[0].top + l.lblTitle[0].height + 30;
    l.MSFlexGrid1.top = l.lblTitle[1].top + l.lblTitle[1].height + 30;
    setSize(l.MSFlexGrid1.height, y - l.MSFlexGrid1.top + 20);
    l.lblTitle[2].top = y + l.imgSplitter2.height - 70;
    setTreeTop(l);

    l.imgSplitter.left = x;
    l.MSFlexGrid1.left = x + 60;
    setSize(l.MSFlexGrid1.width, W - (l.lstTableList.width + 180));
    l.tvTreeView.left = x + 60;
    setSize(l.tvTreeView.width, W - (l.lstTableList.width + 200));
    l.imgSplitter2.left = x + 60;
    setSize(l.lblTitle[0].width, l.lstTableList.width - 10);
    l.lblTitle[1].left = l.MSFlexGrid1.left + 20;
    setSize(l.lblTitle[1].width, l.MSFlexGrid1.width - 30);
    l.lblTitle[2].left = l.MSFlexGrid1.left + 20;
    setSize(l.lblTitle[2].width, l.MSFlexGrid1.width - 30);

    setSize(l.lstTableList.height, SH - 1300);
    setTreeHeight(l);
    l.imgSplitter.top = l.lblTitle[0].top;
    setSize(l.imgSplitter.height, l.lstTableList.height + 300);
    setSize(l.imgSplitter2.width, l.tvTreeView.width + 360);
    setSize(l.lstTableListHeaderWidth, l.lstTableList.width - 500);

    l.cmdView.top = l.lstTableList.height + l.lstTableList.top + 90;
    l.cmdView.left = l.lstTableList.left + 100;
    l.Command1.top = l.cmdView.top;
    l.Command1.left = l.tvTreeView.width + l.tvTreeView.left - (l.Command1.width + 100);
    l.Label1.top = H - 1000;
    setSize(l.Label1.width, W + 120);
}

TreeOrder SizeControls2(MainLayout& l, double& y, double H, double& sngSplitter2Top) {
    if (y < kMinSplitTop) {
        y = kMinSplitTop;
    }
    if (y > H - kSplitBottomMargin) {
        y = H - kSplitBottomMargin;
    }
    l.picSplitter2.top = y;
    setSize(l.MSFlexGrid1.height, y - l.MSFlexGrid1.top + 20);
    l.lblTitle[2].top = y + l.imgSplitter2.height - 70;

    TreeOrder order;
    if (y >= sngSplitter2Top) {
        order = TreeOrder::HeightFirst;
        setTreeHeight(l);
        setTreeTop(l);
    } else {
        order = TreeOrder::TopFirst;
        setTreeTop(l);
        setTreeHeight(l);
    }

    l.imgSplitter2.top = y;
    sngSplitter2Top = y;
    return order;
}

void imgSplitter_MouseDown(MainLayout& l, bool& blnDragging) {
    const Rect& grab = l.imgSplitter;
    moveControl(l.picSplitter, {grab.left, grab.top, halfOf(grab.width), grab.height - 20});
    l.picSplitterVisible = true;
    blnDragging = true;
}

void imgSplitter_MouseMove(MainLayout& l, bool blnDragging, double X, double W) {
    if (!blnDragging) {
        return;
    }
    const double p = l.imgSplitter.left + X;
    if (p < kDragMin) {
        l.picSplitter.left = kDragMin;
    } else if (p > W - kDragRightMargin) {
        l.picSplitter.left = W - kDragRightMargin;
    } else {
        l.picSplitter.left = p;
    }
}

void imgSplitter_MouseUp(MainLayout& l, bool& blnDragging, double W, double H, double SH) {
    double x = l.picSplitter.left;
    SizeControls(l, x, W, H, SH);
    l.picSplitterVisible = false;
    blnDragging = false;
}

void imgSplitter2_MouseDown(MainLayout& l, bool& blnDragging) {
    const Rect& grab = l.imgSplitter2;
    moveControl(l.picSplitter2, {grab.left, grab.top, grab.width - 20, halfOf(grab.height)});
    l.picSplitter2Visible = true;
    blnDragging = true;
}

void imgSplitter2_MouseMove(MainLayout& l, bool blnDragging, double Y, double H) {
    if (!blnDragging) {
        return;
    }
    const double p = l.imgSplitter2.top + Y;
    if (p < kDragMin) {
        l.picSplitter2.top = kDragMin;
    } else if (p > H - kDragBottomMargin) {
        l.picSplitter2.top = H - kDragBottomMargin;
    } else {
        l.picSplitter2.top = p;
    }
}

TreeOrder imgSplitter2_MouseUp(MainLayout& l, bool& blnDragging, double H,
                               double& sngSplitter2Top) {
    double y = l.picSplitter2.top;
    const TreeOrder order = SizeControls2(l, y, H, sngSplitter2Top);
    l.picSplitter2Visible = false;
    blnDragging = false;
    return order;
}

}  // namespace quarnel::layout
