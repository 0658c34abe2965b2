#pragma once
// A TCP port on this machine that nothing listens on right now.

#include <QTcpServer>

inline quint16 FreePort() {
    QTcpServer probe;
    probe.listen(QHostAddress::Any, 0);
    return probe.serverPort();
}
