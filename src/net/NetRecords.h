#pragma once
// The records that keep two copies of the game in one game: chat lines, moves and new games,
// their wire layout, and the checks a peer's record passes before any of it is used.

#include <QByteArray>
#include <QList>
#include <QPoint>
#include <functional>
#include <optional>

enum TNetMessageKind : quint32 { nmChat = 0, nmMove = 1, nmNewGame = 2 };

// One record as it travels: little-endian, packed, 28 bytes of fields, the text, and a
// 4-byte pad that is sent but never read.
struct TNetMessage {
    quint32 Kind = nmChat;
    QByteArray Text; // TextLength on the wire
    qint32 Param1 = 0;
    qint32 Param2 = 0;
    qint32 Param3 = 0;
    qint32 Param4 = 0;
    qint32 Param5 = 0;
};

inline constexpr int NetMessageTextOffset = 28;
inline constexpr int NetMessageOverhead = NetMessageTextOffset + 4;

QByteArray EncodeNetMessage(const TNetMessage& message);
// Nothing when the record is shorter than its fields or its TextLength is negative or
// disagrees with the number of bytes received.
std::optional<TNetMessage> DecodeNetMessage(QByteArrayView data);

// A word move's text: the length in two digits, the word, then one column and row digit
// pair per traced cell in board order (column 1..5 outer, row 1..5 inner).
struct TMoveText {
    QByteArray Word;
    QList<QPoint> Cells; // x the column, y the row
};

QByteArray EncodeMoveText(const TMoveText& move);
// Nothing unless the length is two digits of 2..20, the text is exactly as long as that
// length calls for, and every cell digit is 1..5.
std::optional<TMoveText> DecodeMoveText(QByteArrayView text);

// The checks a peer's record passes before any of it reaches this side's game.
// A start word: five capitals of the language the record names (1 Russian, 2 English).
bool IsStartRecord(const TNetMessage& message);
// A word move: its text decodes, the letter goes into a cell of the board that `isFree`
// (given a column and row of 1..5) calls free, and the letter and the word are capitals of
// `language`.
std::optional<TMoveText> CheckWordMove(const TNetMessage& message, int language,
                                       const std::function<bool(QPoint)>& isFree);
