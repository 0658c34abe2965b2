#pragma once
// The records table: the ten best results against the computer for each language (1..2)
// and strength level (1..6), kept in DATA/Winners beside the program.

#include "platform/Checked.h"

#include <QByteArray>
#include <QList>
#include <functional>

class TProgramFolder;

struct TWinner {
    // An empty place: no name and a score no real result can have.
    static constexpr qint32 EmptyScore = -666;

    QByteArray Name = "-";
    qint32 Score = EmptyScore;

    bool IsEmpty() const { return Score == EmptyScore; }
    bool operator==(const TWinner&) const = default;
};

using TWinnerList = CheckedArray<TWinner, 0, 9>;
using TWinnersTable = CheckedArray<CheckedArray<TWinnerList, 1, 6>, 1, 2>;

// One change a run makes to the records: a result added, or a list or every list cleared.
struct TWinnersChange {
    enum class TKind { AddResult, ClearList, ClearAll };

    TKind Kind = TKind::AddResult;
    int Language = 1;
    int Level = 1;
    qint32 Result = 0;
    QByteArray Name;

    static TWinnersChange ClearListOf(int language, int level) {
        return {TKind::ClearList, language, level, 0, {}};
    }
    static TWinnersChange ClearEveryList() { return {TKind::ClearAll, 1, 1, 0, {}}; }

    void ApplyTo(TWinnersTable& table) const;
};

// The table of the run, and the changes made to it since it was read: the write makes them
// again on the file as it is then, so the results another copy of the game wrote meanwhile
// stay.
struct TRunWinners : TWinnersTable {
    using TWinnersTable::operator=;
    QList<TWinnersChange> Changes;
};

// The records file layout: per language, per level, per place a name line and a score
// line, then an empty line; 252 lines ended by CR LF. Parsing raises KordiError with the
// reason when the bytes do not hold that layout.
TWinnersTable ParseWinners(const QByteArray& bytes);
QByteArray FormatWinners(const TWinnersTable& table);

// The places a result may take in `list`: from the first place whose score is not higher
// than the result (so it ranks above an older equal one); -1 when all ten are higher.
int PlaceFor(const TWinnerList& list, qint32 result);
// Puts the result into its place of the list of language and level, moving the places
// below it one down (the last falls out). Returns false, changing nothing, when the
// result earns no place.
bool AddToWinners(TWinnersTable& table, int language, int level, qint32 result,
                  const QByteArray& name);
// The same on the run's table, remembering the result for the write when it took a place.
bool AddToWinners(TRunWinners& table, int language, int level, qint32 result,
                  const QByteArray& name);
// Makes the change on the run's table and remembers it for the write.
void ChangeWinners(TRunWinners& winners, const TWinnersChange& change);
void ClearList(TWinnerList& list);
void ClearTable(TWinnersTable& table);
bool HasAnyResult(const TWinnersTable& table);

// The player's records file in the program's folder.
QString WinnersFileName(const TProgramFolder& folder);
// Fills the run's table from DATA/Winners. A missing file gives a fresh table. A file that
// cannot be read or does not hold the layout is renamed aside with a ".bad" suffix (so the
// write at exit cannot overwrite it), the table is left fresh, and KordiError is thrown
// naming both files; the caller shows it and goes on.
void ReadWinners(TRunWinners& winners, const TProgramFolder& folder);
// Under the lock that another copy of the game takes too, reads DATA/Winners again, makes
// this run's changes on it, replaces it as a whole and keeps the result as the run's table.
// On failure raises IoError naming the file and leaves the old file as it was. A file that
// no longer holds the layout is set aside as ReadWinners does, the run's table is written
// in its place, and KordiError names both files.
void WriteWinners(TRunWinners& winners, const TProgramFolder& folder);
