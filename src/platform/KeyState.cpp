#include "platform/KeyState.h"

#include "platform/KeyStateX11.h"

#include <QGuiApplication>
#include <qguiapplication_platform.h>

namespace KeyState {

bool CtrlAltLetterHeld(char letter) {
    auto* x11 = qApp ? qApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 && x11->display() && X11CtrlAltLetterHeld(x11->display(), letter);
}

} // namespace KeyState
