#pragma once
// The desktop shortcut: a freedesktop.org launcher "Kordi 2000.desktop" in the user's
// desktop folder that starts the program in its own folder.

#include <QByteArray>
#include <QString>

class TProgramFolder;

// Writes (or rewrites) the launcher, run in the program's folder; every failure passes
// silently.
void CreateDesktopShortcut(const TProgramFolder& programFolder);

// The launcher's text for the program file and the folder it runs in.
QByteArray DesktopEntry(const QString& program, const QString& folder);
