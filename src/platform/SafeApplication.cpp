#include "platform/SafeApplication.h"

#include "platform/Errors.h"

#include <QMessageBox>

TSafeApplication::TSafeApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool TSafeApplication::notify(QObject* receiver, QEvent* event) {
    bool handled = false;
    Guard([&] { handled = QApplication::notify(receiver, event); });
    return handled;
}

void TSafeApplication::Guard(const std::function<void()>& action) {
    try {
        action();
    } catch (const std::exception& error) {
        ShowError(QString::fromUtf8(error.what()));
    }
}

void TSafeApplication::ShowError(const QString& text) {
    QMessageBox::critical(QApplication::activeWindow(), QApplication::applicationName(), text);
}
