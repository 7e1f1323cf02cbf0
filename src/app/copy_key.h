// The copy key (Ctrl+C, and Ctrl+Insert where the system has it) of one control runs a copy
// command of the window instead of the control's own copy.
#pragma once

class QAction;
class QWidget;

namespace quarnel {

// From now on the copy key pressed in `control` triggers `command` (when it is enabled) and
// nothing else.
void copyKeyRuns(QWidget* control, QAction* command);

}  // namespace quarnel
