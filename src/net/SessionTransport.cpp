#include "net/SessionTransport.h"

#include "platform/Errors.h"

#include <QTimer>
#include <memory>

using namespace SessionFraming;

QObject* TStep::Start() {
    Stop();
    current_ = new QObject(owner_);
    return current_;
}

// Deleted later: the step may be stopped from inside one of its own callbacks.
void TStep::Stop() {
    if (current_)
        std::exchange(current_, nullptr)->deleteLater();
}

void TStep::Later(std::function<void()> callback) {
    QTimer::singleShot(0, current_, Guard(std::move(callback)));
}

QString ListNotAcquiredText() {
    return "Session list cannot be acquired";
}

KordiError ListNotAcquired() {
    return KordiError(ListNotAcquiredText());
}

void QuerySessions(QIODevice* stream, const TLinkTimings& timings, int timeoutMs, QObject* context,
                   std::function<void(const std::optional<QList<QByteArray>>& names)> answer) {
    auto* link = new TPeerLink(stream, timings, context);
    // The first of the answer, the link's end and the time limit answers; the rest do nothing.
    const auto pending = std::make_shared<decltype(answer)>(std::move(answer));
    const auto finish = [link, pending](const std::optional<QList<QByteArray>>& names) {
        if (!*pending)
            return;
        const auto call = std::exchange(*pending, {});
        link->Drop();
        link->deleteLater();
        call(names);
    };
    QObject::connect(link, &TPeerLink::SessionsReceived, link,
                     [finish](const QList<QByteArray>& names) { finish(names); });
    for (auto ended : {&TPeerLink::Lost, &TPeerLink::Left})
        QObject::connect(link, ended, link, [finish] { finish(std::nullopt); });
    QTimer::singleShot(timeoutMs, link, [finish] { finish(std::nullopt); });
    link->Query();
}
