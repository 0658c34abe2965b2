#include "net/SessionTransport.h"

#include "platform/Errors.h"

#include <QTimer>
#include <memory>

using namespace SessionFraming;

KordiError ListNotAcquired() {
    return KordiError("Session list cannot be acquired");
}

void TWait::Finish() {
    finished_ = true;
    quit();
}

bool TWait::Run(int timeoutMs) {
    if (!finished_) {
        QTimer::singleShot(timeoutMs, this, &QEventLoop::quit);
        exec();
    }
    return finished_;
}

std::optional<QList<QByteArray>> QuerySessions(QIODevice* stream, const TLinkTimings& timings,
                                               int timeoutMs) {
    const auto link = std::make_unique<TPeerLink>(stream, timings);
    std::optional<QList<QByteArray>> names;
    TWait wait;
    QObject::connect(link.get(), &TPeerLink::SessionsReceived, &wait,
                     [&](const QList<QByteArray>& list) {
                         names = list;
                         wait.Finish();
                     });
    QObject::connect(link.get(), &TPeerLink::Lost, &wait, &QEventLoop::quit);
    QObject::connect(link.get(), &TPeerLink::Left, &wait, &QEventLoop::quit);
    link->Query();
    wait.Run(timeoutMs);
    return names;
}
