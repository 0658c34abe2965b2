#include "platform/Messages.h"

#include "platform/Errors.h"

#include <QApplication>
#include <QMessageBox>

void IMessages::Guard(const std::function<void()>& action) {
    try {
        action();
    } catch (const Cancelled&) {
        // the player chose to stop; nothing to tell
    } catch (const std::exception& error) {
        ShowError(QString::fromUtf8(error.what()));
    }
}

namespace {

QMessageBox* Open(QMessageBox::Icon icon, const QString& text) {
    auto* box = new QMessageBox(icon, QApplication::applicationName(), text, QMessageBox::Ok,
                                QApplication::activeWindow());
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
    return box;
}

} // namespace

void TMessageBoxes::Show(const QString& text) {
    Open(QMessageBox::Information, text);
}

void TMessageBoxes::ShowError(const QString& text) {
    Open(QMessageBox::Critical, text);
}

void TMessageBoxes::ShowErrorThen(const QString& text, const std::function<void()>& closed) {
    QObject::connect(Open(QMessageBox::Critical, text), &QDialog::finished, closed);
}
