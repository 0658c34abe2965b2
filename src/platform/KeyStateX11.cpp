#include "platform/KeyStateX11.h"

#include <X11/Xlib.h>
#include <X11/keysym.h>

namespace {

bool KeyDown(Display* display, const char keys[32], KeySym symbol) {
    const KeyCode code = XKeysymToKeycode(display, symbol);
    return code != 0 && (keys[code / 8] & (1 << (code % 8)));
}

} // namespace

bool X11CtrlAltLetterHeld(void* display, char letter) {
    auto* x = static_cast<Display*>(display);
    char keys[32];
    XQueryKeymap(x, keys);
    const bool ctrl = KeyDown(x, keys, XK_Control_L) || KeyDown(x, keys, XK_Control_R);
    const bool alt = KeyDown(x, keys, XK_Alt_L) || KeyDown(x, keys, XK_Alt_R);
    return ctrl && alt && KeyDown(x, keys, XK_a + (letter - 'A'));
}
