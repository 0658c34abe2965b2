#include "platform/KeyState.h"

#include "platform/KeyStateX11.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QSet>
#include <qguiapplication_platform.h>

namespace KeyState {
namespace {

void* X11Display() {
    if (auto* x11 = qApp ? qApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr)
        return x11->display();
    return nullptr;
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
    if (void* display = X11Display())
        return X11CtrlAltLetterHeld(display, letter);
    return ApplicationHeld(letter);
}

} // namespace KeyState
