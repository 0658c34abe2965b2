#pragma once
// The session service's search and join, waited for as a test needs: the answer comes back,
// and a failure is raised as the error with the text the player would see; and a free port.

#include "net/SessionService.h"
#include "platform/Errors.h"

#include <QSignalSpy>
#include <QTcpServer>
#include <QTest>

inline constexpr int SessionWaitMs = 10000;

// A TCP port on this machine that nothing listens on right now.
inline quint16 FreePort() {
    QTcpServer probe;
    probe.listen(QHostAddress::Any, 0);
    return probe.serverPort();
}

// The names found; a failure raises KordiError, a cancelled search Cancelled.
inline QList<QByteArray> Search(TSessionService& play) {
    QSignalSpy found(&play, &TSessionService::SessionsFound);
    QSignalSpy failed(&play, &TSessionService::SearchFailed);
    play.SearchSessions();
    if (!QTest::qWaitFor([&] { return found.count() + failed.count() > 0; }, SessionWaitMs))
        throw KordiError("no answer to the search");
    if (!failed.isEmpty()) {
        const QString text = failed.at(0).at(0).toString();
        if (text.isEmpty())
            throw Cancelled();
        throw KordiError(text);
    }
    return found.at(0).at(0).value<QList<QByteArray>>();
}

// Returns once joined; a failure raises KordiError.
inline void JoinNow(TSessionService& play, const QByteArray& session, const QByteArray& player) {
    QSignalSpy joined(&play, &TSessionService::Joined);
    QSignalSpy failed(&play, &TSessionService::JoinFailed);
    play.Join(session, player);
    if (!QTest::qWaitFor([&] { return joined.count() + failed.count() > 0; }, SessionWaitMs))
        throw KordiError("no answer to the join");
    if (!failed.isEmpty())
        throw KordiError(failed.at(0).at(0).toString());
}
