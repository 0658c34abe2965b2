#include "platform/Messages.h"

#include <QApplication>
#include <QMessageBox>

namespace Messages {
namespace {

TSink& Sink() {
    static TSink sink;
    return sink;
}

} // namespace

void Show(const QString& text) {
    if (Sink()) {
        Sink()(text);
        return;
    }
    QMessageBox::information(QApplication::activeWindow(), QApplication::applicationName(), text);
}

void SetSink(TSink sink) {
    Sink() = std::move(sink);
}

} // namespace Messages
