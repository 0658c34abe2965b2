#pragma once
// The X11 side of the key state, kept apart because Xlib's macros clash with Qt's names.

// Ctrl, Alt and the ASCII capital `letter` held down, read from the whole keyboard of
// the X display `display` (a Display*).
bool X11CtrlAltLetterHeld(void* display, char letter);
