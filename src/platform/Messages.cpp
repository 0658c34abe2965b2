#include "platform/Messages.h"

#include <QApplication>
#include <QMessageBox>

namespace Messages {
namespace {

TSink& Sink() {
    static TSink sink;
    return sink;
}

void Open(QMessageBox::Icon icon, const QString& text) {
    if (Sink()) {
        Sink()(text);
        return;
    }
    auto* box = new QMessageBox(icon, QApplication::applicationName(), text, QMessageBox::Ok,
                                QApplication::activeWindow());
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

} // namespace

void Show(const QString& text) {
    Open(QMessageBox::Information, text);
}

void ShowError(const QString& text) {
    Open(QMessageBox::Critical, text);
}

void SetSink(TSink sink) {
    Sink() = std::move(sink);
}

} // namespace Messages
