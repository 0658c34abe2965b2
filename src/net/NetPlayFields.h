#pragma once
// The network settings of section "NetPlay": read at start-up, written when the settings
// are saved; the connection and chat windows take them over and keep them up to date.

#include <QByteArray>

struct TNetPlayFields {
    int Port = 0;
    QByteArray HostName = "localhost";
    QByteArray Name = "X";
    bool AutoPopUpChat = true;
};

inline TNetPlayFields NetPlayFields;
