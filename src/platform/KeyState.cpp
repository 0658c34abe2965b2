#include "platform/KeyState.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QSet>

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/keysym.h>

namespace KeyState {
namespace {

Display* X11Display() {
    if (auto* x11 = qApp ? qApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr)
        return x11->display();
    return nullptr;
}

bool KeyDown(Display* display, const char keys[32], KeySym symbol) {
    const KeyCode code = XKeysymToKeycode(display, symbol);
    return code != 0 && (keys[code / 8] & (1 << (code % 8)));
}

bool X11Held(Display* display, char letter) {
    char keys[32];
    XQueryKeymap(display, keys);
    const bool ctrl = KeyDown(display, keys, XK_Control_L) || KeyDown(display, keys, XK_Control_R);
    const bool alt = KeyDown(display, keys, XK_Alt_L) || KeyDown(display, keys, XK_Alt_R);
    return ctrl && alt && KeyDown(display, keys, XK_a + (letter - 'A'));
}

// Remembers the letter keys that the application has seen go down and not yet up.
class TPressedKeys : public QObject {
public:
    TPressedKeys() { qApp->installEventFilter(this); }
    bool Held(int key) const { return held_.contains(key); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) {
            const auto* key = static_cast<QKeyEvent*>(event);
            if (!key->isAutoRepeat()) {
                if (event->type() == QEvent::KeyPress)
                    held_.insert(key->key());
                else
                    held_.remove(key->key());
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QSet<int> held_;
};

bool ApplicationHeld(char letter) {
    static TPressedKeys* pressed = new TPressedKeys;
    const auto modifiers = QGuiApplication::queryKeyboardModifiers();
    return modifiers.testFlag(Qt::ControlModifier) && modifiers.testFlag(Qt::AltModifier) &&
           pressed->Held(Qt::Key_A + (letter - 'A'));
}

} // namespace

bool CtrlAltLetterHeld(char letter) {
    if (Display* display = X11Display())
        return X11Held(display, letter);
    return ApplicationHeld(letter);
}

} // namespace KeyState
