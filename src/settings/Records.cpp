#include "settings/Records.h"

#include "platform/CodePage.h"
#include "platform/Errors.h"
#include "platform/ProgramFolder.h"
#include "platform/SharedFile.h"

#include <QFile>
#include <optional>

namespace {

const QByteArray LineEnd = "\r\n";
// Two languages of six levels.
constexpr int ListCount = 12;
// Ten places of two lines each, then the separator line.
constexpr int LinesPerList = 21;

// The lines of the file without their ends; CR LF and a bare LF both end a line.
QList<QByteArray> SplitLines(const QByteArray& bytes) {
    QList<QByteArray> lines = bytes.split('\n');
    if (lines.last().isEmpty())
        lines.removeLast(); // what follows the last line end is no line
    for (QByteArray& line : lines)
        if (line.endsWith('\r'))
            line.chop(1);
    return lines;
}

// The integer that opens the line; whatever follows it after a blank is ignored.
qint32 ScoreOf(const QByteArray& line, int lineNumber) {
    const QList<QByteArray> words = line.simplified().split(' ');
    bool ok = false;
    const qint32 score = words.first().toInt(&ok);
    if (!ok)
        throw KordiError(QString("line %1 is not a number: \"%2\"")
                             .arg(lineNumber)
                             .arg(CodePage::ToUnicode(line)));
    return score;
}

// Moves the unreadable file out of the way of the write at exit; the name it now has, or
// an empty name when it could not be moved.
QString SetAside(const QString& fileName) {
    QString aside = fileName + ".bad";
    for (int n = 2; QFile::exists(aside); ++n)
        aside = QString("%1.%2.bad").arg(fileName).arg(n);
    return QFile::rename(fileName, aside) ? aside : QString();
}

// Sets the unreadable file aside; the error tells why it was unreadable, where it went and
// what follows, which depends on whether it could be moved.
KordiError UnreadableFile(const QString& fileName, const QString& reason, const QString& ifMoved,
                          const QString& ifStuck) {
    const QString aside = SetAside(fileName);
    const QString kept =
        aside.isEmpty() ? QString("It could not be renamed and stays as it is. %1").arg(ifStuck)
                        : QString("It was kept as \"%1\". %2").arg(aside, ifMoved);
    return KordiError(
        QString("The records file \"%1\" cannot be read: %2. %3").arg(fileName, reason, kept));
}

} // namespace

TWinnersTable ParseWinners(const QByteArray& bytes) {
    const QList<QByteArray> lines = SplitLines(bytes);
    // The separator after the very last list may be missing; the names and scores may not.
    const int needed = ListCount * LinesPerList - 1;
    if (lines.size() < needed)
        throw KordiError(
            QString("it holds %1 lines instead of %2").arg(lines.size()).arg(needed + 1));
    TWinnersTable table;
    int line = 0;
    for (auto& language : table) {
        for (TWinnerList& list : language) {
            for (TWinner& winner : list) {
                winner.Name = lines[line];
                winner.Score = ScoreOf(lines[line + 1], line + 2);
                line += 2;
            }
            ++line;
        }
    }
    return table;
}

QByteArray FormatWinners(const TWinnersTable& table) {
    QByteArray bytes;
    for (const auto& language : table) {
        for (const TWinnerList& list : language) {
            for (const TWinner& winner : list)
                bytes += CodePage::OneLine(winner.Name) + LineEnd +
                         QByteArray::number(winner.Score) + LineEnd;
            bytes += LineEnd;
        }
    }
    return bytes;
}

int PlaceFor(const TWinnerList& list, qint32 result) {
    for (int place = TWinnerList::Low; place <= TWinnerList::High; ++place)
        if (list[place].Score <= result)
            return place;
    return -1;
}

bool AddToWinners(TWinnersTable& table, int language, int level, qint32 result,
                  const QByteArray& name) {
    TWinnerList& list = table[language][level];
    const int place = PlaceFor(list, result);
    if (place < 0)
        return false;
    for (int below = TWinnerList::High; below > place; --below)
        list[below] = list[below - 1];
    list[place] = {name, result};
    return true;
}

bool AddToWinners(TRunWinners& table, int language, int level, qint32 result,
                  const QByteArray& name) {
    const TWinnersChange change{TWinnersChange::TKind::AddResult, language, level, result, name};
    const bool added =
        AddToWinners(static_cast<TWinnersTable&>(table), language, level, result, name);
    if (added)
        table.Changes.append(change);
    return added;
}

void TWinnersChange::ApplyTo(TWinnersTable& table) const {
    switch (Kind) {
    case TKind::AddResult:
        AddToWinners(table, Language, Level, Result, Name);
        break;
    case TKind::ClearList:
        ClearList(table[Language][Level]);
        break;
    case TKind::ClearAll:
        ClearTable(table);
        break;
    }
}

void ChangeWinners(TRunWinners& winners, const TWinnersChange& change) {
    change.ApplyTo(winners);
    winners.Changes.append(change);
}

void ClearList(TWinnerList& list) {
    list = {};
}

void ClearTable(TWinnersTable& table) {
    table = {};
}

bool HasAnyResult(const TWinnersTable& table) {
    for (const auto& language : table)
        for (const TWinnerList& list : language)
            for (const TWinner& winner : list)
                if (!winner.IsEmpty())
                    return true;
    return false;
}

QString WinnersFileName(const TProgramFolder& folder) {
    return folder.PlayerFile("DATA/Winners");
}

void ReadWinners(TRunWinners& winners, const TProgramFolder& folder) {
    ClearTable(winners);
    winners.Changes.clear();
    const QString fileName = WinnersFileName(folder);
    if (!QFile::exists(fileName))
        return; // the first run: the file is made at exit
    try {
        winners = ParseWinners(SharedFile::Read(fileName));
    } catch (const KordiError& error) {
        const QString fresh = "The records table starts empty.";
        throw UnreadableFile(fileName, error.Text(), fresh, fresh);
    }
}

void WriteWinners(TRunWinners& winners, const TProgramFolder& folder) {
    const QString fileName = WinnersFileName(folder);
    TWinnersTable merged = winners;
    std::optional<KordiError> unreadable;
    SharedFile::Change(fileName, [&](const std::optional<QByteArray>& current) {
        if (!current)
            return FormatWinners(merged); // nothing to keep but this run's table
        try {
            merged = ParseWinners(*current);
        } catch (const KordiError& error) {
            unreadable = UnreadableFile(fileName, error.Text(),
                                        "The records of this run were written in its place.",
                                        "The records of this run were not written.");
            if (QFile::exists(fileName))
                throw *unreadable; // it could not be moved, and it must not be overwritten
            return FormatWinners(merged);
        }
        for (const TWinnersChange& change : winners.Changes)
            change.ApplyTo(merged);
        return FormatWinners(merged);
    });
    winners = merged;
    winners.Changes.clear();
    if (unreadable)
        throw *unreadable;
}
