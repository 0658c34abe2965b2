#pragma once
// A desktop session ends its programs with SIGTERM at logout, a terminal with SIGHUP or
// Ctrl+C. The game takes each as the player's own close, so settings and records are saved.

#include <QObject>
#include <functional>

namespace TerminationSignals {

// From now on these signals are noted instead of ending the program; call it first thing.
void Catch();
// A noted signal, one noted before this call included, runs `close` in the event loop for as
// long as `context` lives.
void CloseOn(QObject* context, const std::function<void()>& close);

} // namespace TerminationSignals
