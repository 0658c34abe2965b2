#include "platform/TerminationSignals.h"

#include "platform/Errors.h"

#include <QSocketNotifier>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace TerminationSignals {
namespace {

// The handler only writes a byte: the event loop reads it where anything may be done.
int pipeEnds[2] = {-1, -1};

void Note(int) {
    const int savedErrno = errno;
    const char byte = 1;
    [[maybe_unused]] const auto written = write(pipeEnds[1], &byte, 1);
    errno = savedErrno;
}

void Drain() {
    char bytes[16];
    while (read(pipeEnds[0], bytes, sizeof bytes) > 0) {
    }
}

} // namespace

void Catch() {
    if (pipeEnds[0] >= 0)
        return;
    if (pipe2(pipeEnds, O_CLOEXEC | O_NONBLOCK) != 0)
        throw KordiError(QString("Cannot watch for the signals that end the program: %1")
                             .arg(QString::fromLocal8Bit(std::strerror(errno))));
    struct sigaction action = {};
    action.sa_handler = Note;
    action.sa_flags = SA_RESTART;
    sigemptyset(&action.sa_mask);
    for (const int signal : {SIGTERM, SIGHUP, SIGINT})
        sigaction(signal, &action, nullptr);
}

void CloseOn(QObject* context, const std::function<void()>& close) {
    auto* notifier = new QSocketNotifier(pipeEnds[0], QSocketNotifier::Read, context);
    QObject::connect(notifier, &QSocketNotifier::activated, context, [close] {
        Drain();
        close();
    });
}

} // namespace TerminationSignals
