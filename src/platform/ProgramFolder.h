#pragma once
// Where the program's files lie. The data it only reads lies beside the program (the build
// folder) or, for an installed program, in PREFIX/share/kordi2000. The files it writes stay
// beside the program when that folder is writable; an installed or read-only program keeps
// them in the player's data folder (~/.local/share/kordi2000) instead, and never writes into
// its own tree.

#include <QString>

class TProgramFolder {
public:
    // The data in `folder`; `installed` keeps the player's files out of it, as for an
    // installed program.
    explicit TProgramFolder(const QString& folder, bool installed = false);
    // The folder of the running program: its build folder, or its installed data.
    static TProgramFolder OfThisProgram();

    // The folder of the read-only data, with a trailing '/'.
    const QString& Path() const { return data_; }
    // Read-only data relative to that folder, e.g. File("sounds/apply.wav").
    QString File(const QString& relative) const { return data_ + relative; }
    // A file the program writes (settings, dictionaries, records), e.g. PlayerFile("DATA/Winners").
    // In the player's data folder, the shipped original is copied there the first time; a file
    // with no original is left for the program to make. Throws IoError naming the path when the
    // player's copy cannot be made.
    QString PlayerFile(const QString& relative) const;

private:
    bool PlayerFilesBesideData() const;

    QString data_;
    bool installed_;
};
