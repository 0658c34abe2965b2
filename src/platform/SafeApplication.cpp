#include "platform/SafeApplication.h"

#include "platform/Messages.h"

#include <QFont>

TSafeApplication::TSafeApplication(int& argc, char** argv, IMessages& messages)
    : QApplication(argc, argv), messages_(messages) {
    // The windows name the fonts of the system they were drawn on; these are their
    // nearest free relatives, narrow enough for the fixed layout.
    QFont::insertSubstitutions("Default", {"DejaVu Sans Condensed", "DejaVu Sans"});
    QFont::insertSubstitutions("Small Fonts", {"DejaVu Sans Condensed", "DejaVu Sans"});
    QFont::insertSubstitutions("MS Sans Serif", {"DejaVu Sans Condensed", "DejaVu Sans"});
}

bool TSafeApplication::notify(QObject* receiver, QEvent* event) {
    bool handled = false;
    messages_.Guard([&] { handled = QApplication::notify(receiver, event); });
    return handled;
}
