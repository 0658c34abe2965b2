#include "net/NetRecords.h"

#include "dictionary/Dictionary.h"

#include <QtEndian>
#include <algorithm>
#include <cstring>

namespace {
constexpr int FieldCount = 7; // Kind, TextLength and the five parameters

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
bool IsCellDigit(char c) {
    return c >= '1' && c <= '5';
}
bool IsCellIndex(qint32 index) {
    return index >= 1 && index <= 5;
}

bool IsLetterOf(int language, int code) {
    return AlphabetOf(language).Contains(code);
}

bool IsWordOf(int language, QByteArrayView text) {
    return std::all_of(text.begin(), text.end(),
                       [language](char c) { return IsLetterOf(language, static_cast<uchar>(c)); });
}

} // namespace

QByteArray EncodeNetMessage(const TNetMessage& message) {
    QByteArray data(NetMessageOverhead + message.Text.size(), '\0');
    const qint32 fields[FieldCount] = {static_cast<qint32>(message.Kind),
                                       static_cast<qint32>(message.Text.size()),
                                       message.Param1,
                                       message.Param2,
                                       message.Param3,
                                       message.Param4,
                                       message.Param5};
    for (int i = 0; i < FieldCount; ++i)
        qToLittleEndian(fields[i], data.data() + 4 * i);
    std::memcpy(data.data() + NetMessageTextOffset, message.Text.constData(), message.Text.size());
    return data;
}

std::optional<TNetMessage> DecodeNetMessage(QByteArrayView data) {
    if (data.size() < NetMessageOverhead)
        return std::nullopt;
    const auto field = [&](int index) {
        return qFromLittleEndian<qint32>(data.data() + 4 * index);
    };
    const qint32 length = field(1);
    if (length < 0 || data.size() != NetMessageOverhead + qsizetype(length))
        return std::nullopt;
    TNetMessage message;
    message.Kind = qFromLittleEndian<quint32>(data.data());
    message.Text = data.sliced(NetMessageTextOffset, length).toByteArray();
    message.Param1 = field(2);
    message.Param2 = field(3);
    message.Param3 = field(4);
    message.Param4 = field(5);
    message.Param5 = field(6);
    return message;
}

QByteArray EncodeMoveText(const TMoveText& move) {
    QByteArray text = QByteArray::number(move.Word.size()).rightJustified(2, '0') + move.Word;
    for (const QPoint& cell : move.Cells)
        text += QByteArray::number(cell.x()) + QByteArray::number(cell.y());
    return text;
}

std::optional<TMoveText> DecodeMoveText(QByteArrayView text) {
    if (text.size() < 2 || !IsDigit(text[0]) || !IsDigit(text[1]))
        return std::nullopt;
    const int length = (text[0] - '0') * 10 + (text[1] - '0');
    if (length < TDictionary::MinLength || length > TDictionary::MaxLength ||
        text.size() != 2 + 3 * length)
        return std::nullopt;
    TMoveText move;
    move.Word = text.sliced(2, length).toByteArray();
    for (qsizetype at = 2 + length; at < text.size(); at += 2) {
        if (!IsCellDigit(text[at]) || !IsCellDigit(text[at + 1]))
            return std::nullopt;
        move.Cells.append({text[at] - '0', text[at + 1] - '0'});
    }
    return move;
}

bool IsStartRecord(const TNetMessage& message) {
    return (message.Param1 == 1 || message.Param1 == 2) && message.Text.size() == 5 &&
           IsWordOf(message.Param1, message.Text);
}

std::optional<TMoveText> CheckWordMove(const TNetMessage& message, int language,
                                       const std::function<bool(QPoint)>& isFree) {
    std::optional<TMoveText> move = DecodeMoveText(message.Text);
    if (!move || !IsCellIndex(message.Param1) || !IsCellIndex(message.Param2) ||
        !IsLetterOf(language, message.Param3) || !IsWordOf(language, move->Word) ||
        !isFree({message.Param1, message.Param2}))
        return std::nullopt;
    return move;
}
