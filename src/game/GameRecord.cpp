#include "game/GameRecord.h"

#include "dictionary/Dictionary.h"
#include "platform/CodePage.h"
#include "platform/Errors.h"

#include <QStringList>
#include <algorithm>

namespace {

const QByteArray Header = "kordi-record language ";
constexpr int Cells = TBoard::Size * TBoard::Size;

// A line that breaks the format; the reader adds the source and the line number.
struct TLineError {
    QString Reason;
};

QString Text(const QByteArray& letters) {
    return CodePage::ToUnicode(letters);
}

QByteArray BoardText(const QByteArray& board) {
    QByteArray rows;
    for (int row = 1; row <= TBoard::Size; ++row)
        for (int col = 1; col <= TBoard::Size; ++col)
            rows += board[BoardIndex({col, row})];
    return rows;
}

QString PathText(const TRecordedTurn& turn) {
    QStringList cells;
    for (const TCellPos& pos : turn.Path)
        cells.append(QString(pos == turn.Cell ? "*%1%2" : "%1%2").arg(pos.x()).arg(pos.y()));
    return cells.join('-');
}

QString TurnLine(const TRecordedTurn& turn) {
    QStringList used;
    for (const QByteArray& word : turn.UsedWords)
        used.append(Text(word));
    return QStringList{QString::number(turn.Player), Text(BoardText(turn.Board)),
                       turn.Passed() ? "-" : Text(turn.Word), turn.Passed() ? "-" : PathText(turn),
                       used.isEmpty() ? "-" : used.join(',')}
        .join(' ');
}

// Upper-case code page letters of the alphabet; "." too when `emptyAllowed`.
QByteArray ParseLetters(const QString& text, const TAlphabet& alphabet, bool emptyAllowed) {
    const QByteArray letters = CodePage::ToUpper(CodePage::FromUnicode(text));
    const auto allowed = [&alphabet, emptyAllowed](char letter) {
        return alphabet.Contains(static_cast<unsigned char>(letter)) ||
               (emptyAllowed && letter == TRecordedTurn::EmptyLetter);
    };
    if (letters.size() != text.size() || !std::all_of(letters.begin(), letters.end(), allowed))
        throw TLineError{QString("\"%1\" holds a character that is not a letter").arg(text)};
    return letters;
}

QByteArray ParseBoard(const QString& text, const TAlphabet& alphabet) {
    if (text.size() != Cells)
        throw TLineError{QString("the board must have 25 cells, not %1").arg(text.size())};
    const QByteArray rows = ParseLetters(text, alphabet, true);
    QByteArray board(Cells, TRecordedTurn::EmptyLetter);
    for (int i = 0; i < Cells; ++i)
        board[BoardIndex({i % TBoard::Size + 1, i / TBoard::Size + 1})] = rows[i];
    return board;
}

TCellPos ParseCell(const QString& text) {
    const TCellPos pos(text.size() == 2 ? text[0].digitValue() : 0,
                       text.size() == 2 ? text[1].digitValue() : 0);
    if (!TBoard::Contains(pos))
        throw TLineError{QString("\"%1\" is not a cell: column and row from 1 to 5").arg(text)};
    return pos;
}

void ParsePath(const QString& text, TRecordedTurn& turn) {
    int marked = 0;
    for (QString cell : text.split('-')) {
        if (cell.startsWith('*')) {
            ++marked;
            cell.remove(0, 1);
            turn.Cell = ParseCell(cell);
        }
        const TCellPos pos = ParseCell(cell);
        if (turn.Path.contains(pos))
            throw TLineError{QString("the path passes cell %1 twice").arg(cell)};
        if (!turn.Path.isEmpty() && !TBoard::AreNeighbours(turn.Path.last(), pos))
            throw TLineError{QString("cell %1 does not neighbour the cell before it").arg(cell)};
        turn.Path.append(pos);
    }
    if (marked != 1)
        throw TLineError{"the path must mark exactly one cell, the new letter's, with \"*\""};
}

// The word lies on the path: the new letter on an empty cell, the board's letters elsewhere.
void CheckMove(const TRecordedTurn& turn) {
    if (turn.Word.size() < 2 || turn.Word.size() != turn.Path.size())
        throw TLineError{"the word must have two letters or more, one for each cell of its path"};
    for (qsizetype i = 0; i < turn.Path.size(); ++i) {
        const char onBoard = turn.Board[BoardIndex(turn.Path[i])];
        const bool fits = turn.Path[i] == turn.Cell ? onBoard == TRecordedTurn::EmptyLetter
                                                    : onBoard == turn.Word[i];
        if (!fits)
            throw TLineError{QString("the word does not lie on the board at cell %1%2")
                                 .arg(turn.Path[i].x())
                                 .arg(turn.Path[i].y())};
    }
}

TRecordedTurn ParseTurn(const QString& line, const TAlphabet& alphabet) {
    const QStringList fields = line.split(' ', Qt::SkipEmptyParts);
    if (fields.size() != 5)
        throw TLineError{QString("a turn has 5 fields (player, board, word, path, used words), "
                                 "not %1")
                             .arg(fields.size())};
    TRecordedTurn turn;
    if (fields[0] != "1" && fields[0] != "2")
        throw TLineError{QString("the player must be 1 or 2, not \"%1\"").arg(fields[0])};
    turn.Player = fields[0].toInt();
    turn.Board = ParseBoard(fields[1], alphabet);
    if ((fields[2] == "-") != (fields[3] == "-"))
        throw TLineError{"a pass has \"-\" for both the word and the path"};
    if (fields[2] != "-") {
        turn.Word = ParseLetters(fields[2], alphabet, false);
        ParsePath(fields[3], turn);
        CheckMove(turn);
    }
    if (fields[4] != "-")
        for (const QString& word : fields[4].split(','))
            turn.UsedWords.append(ParseLetters(word, alphabet, false));
    return turn;
}

quint16 ParseHeader(const QString& line) {
    const QString language = line.mid(Header.size());
    if (!line.startsWith(QString::fromLatin1(Header)) || (language != "1" && language != "2"))
        throw TLineError{
            QString("the first line must be \"%1\" and 1 or 2").arg(QString::fromLatin1(Header))};
    return static_cast<quint16>(language.toInt());
}

} // namespace

char TRecordedTurn::Letter() const {
    const qsizetype at = Path.indexOf(Cell);
    return at >= 0 && at < Word.size() ? Word[at] : 0;
}

QByteArray FixedLetters(const TBoard& board) {
    QByteArray letters(Cells, TRecordedTurn::EmptyLetter);
    for (const TCellPos& pos : TBoard::Places()) {
        const TCell& cell = board.At(pos);
        if (cell.Fixed && !cell.IsEmpty())
            letters[BoardIndex(pos)] = cell.Letter[0];
    }
    return letters;
}

QByteArray WriteRecord(const TGameRecord& record) {
    QString text = QString::fromLatin1(Header) + QString::number(record.Language) + '\n';
    for (const TRecordedTurn& turn : record.Turns)
        text += TurnLine(turn) + '\n';
    return text.toUtf8();
}

TGameRecord ReadRecord(const QByteArray& text, const QString& source) {
    const QStringList lines = QString::fromUtf8(text).split('\n');
    TGameRecord record;
    int number = 0;
    try {
        for (const QString& rawLine : lines) {
            ++number;
            const QString line = rawLine.trimmed();
            if (number == 1)
                record.Language = ParseHeader(line);
            else if (!line.isEmpty())
                record.Turns.append(ParseTurn(line, AlphabetOf(record.Language)));
        }
    } catch (const TLineError& error) {
        throw KordiError(QString("%1, line %2: %3").arg(source).arg(number).arg(error.Reason));
    }
    return record;
}
