#pragma once
// The desktop shortcut: a freedesktop.org launcher "Kordi 2000.desktop" in the user's
// desktop folder that starts the program in its own folder.

#include <QByteArray>
#include <QString>

// Writes (or rewrites) the launcher; every failure passes silently.
void CreateDesktopShortcut();

// The launcher's text for the program file and the folder it runs in.
QByteArray DesktopEntry(const QString& program, const QString& folder);
