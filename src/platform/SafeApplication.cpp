#include "platform/SafeApplication.h"

#include "platform/Errors.h"
#include "platform/Messages.h"

#include <QFont>

TSafeApplication::TSafeApplication(int& argc, char** argv) : QApplication(argc, argv) {
    // The windows name the fonts of the system they were drawn on; these are their
    // nearest free relatives, narrow enough for the fixed layout.
    QFont::insertSubstitutions("Default", {"DejaVu Sans Condensed", "DejaVu Sans"});
    QFont::insertSubstitutions("Small Fonts", {"DejaVu Sans Condensed", "DejaVu Sans"});
    QFont::insertSubstitutions("MS Sans Serif", {"DejaVu Sans Condensed", "DejaVu Sans"});
}

bool TSafeApplication::notify(QObject* receiver, QEvent* event) {
    bool handled = false;
    Guard([&] { handled = QApplication::notify(receiver, event); });
    return handled;
}

void TSafeApplication::Guard(const std::function<void()>& action) {
    try {
        action();
    } catch (const Cancelled&) {
        // the player chose to stop; nothing to tell
    } catch (const std::exception& error) {
        ShowError(QString::fromUtf8(error.what()));
    }
}

void TSafeApplication::ShowError(const QString& text) {
    Messages::ShowError(text);
}
