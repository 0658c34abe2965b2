#pragma once
// Whether keys are held down right now. Under X11 the whole keyboard is read, so the
// answer holds while none of the program's windows has the focus or is even shown;
// elsewhere only the keys that reach the application are seen.

namespace KeyState {

// Ctrl, Alt and the letter key `letter` (an ASCII capital) held down together.
bool CtrlAltLetterHeld(char letter);

} // namespace KeyState
