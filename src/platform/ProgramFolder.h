#pragma once
// Where the program's files lie. The data it only reads lies beside the program (the build
// folder) or, for an installed program, in PREFIX/share/kordi2000. The files it writes stay
// beside the program when that folder is writable; an installed or read-only program keeps
// them in the player's data folder (~/.local/share/kordi2000) instead, and never writes into
// its own tree.

#include <QString>

namespace ProgramFolder {

// The folder of the read-only data, with a trailing '/'.
QString Path();
// Read-only data relative to that folder, e.g. File("sounds/apply.wav").
QString File(const QString& relative);
// A file the program writes (settings, dictionaries, records), e.g. PlayerFile("DATA/Winners").
// In the player's data folder, the shipped original is copied there the first time; a file
// with no original is left for the program to make. Throws IoError naming the path when the
// player's copy cannot be made.
QString PlayerFile(const QString& relative);
// Points the data at `folder` (tests); `installed` keeps the player's files out of it, as for
// an installed program.
void Override(const QString& folder, bool installed = false);

} // namespace ProgramFolder
