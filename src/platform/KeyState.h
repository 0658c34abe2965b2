#pragma once
// Whether keys are held down right now, read from the whole keyboard under X11, so the
// answer holds while none of the program's windows has the focus or is even shown.
// Elsewhere the keyboard cannot be read that way and no key counts as held: a program
// hidden by a key must be able to see the key that brings it back.

namespace KeyState {

// Ctrl, Alt and the letter key `letter` (an ASCII capital) held down together.
bool CtrlAltLetterHeld(char letter);

} // namespace KeyState
