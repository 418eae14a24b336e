// Placement of a main window when it is created: centred on the screen, or on the
// Windows 9x family within a rectangle of the work area's size placed at the
// screen's top-left corner (the work area's own origin is not added).
#pragma once

namespace forms { class Form; }

namespace mainform {

// Integer halving that drops the remainder toward zero (-161 -> -80).
constexpr int halved(int value) { return value / 2; }

// Sets the form's left edge, then its top edge, from its outer size.
void centreMainWindow(forms::Form& form);

}  // namespace mainform
