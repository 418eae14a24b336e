// Exit tests on every focus move inside a window. A control that the focus has entered
// is left when the focus moves from it to another control of its window, by any means:
// a key, a click, or code. Qt tells the control itself only of moves made while its
// window is active; a move that code makes while a modal box is up reaches the new
// control with the window's activation instead. A watcher on the application catches
// that arrival and runs the pending exit first; an exit that takes the focus back keeps
// the new control from getting it. A click whose focus move an exit refused goes no
// further: the clicked control never sees its press or release.
#pragma once

namespace forms {

// Installs the watcher on the application (once; the pick lists do it).
void watchFocusMoves();

// Called by an exit that took the focus back while a mouse press was moving it: that
// press, and its release, go to no control.
void stopClickInProgress();

}  // namespace forms
