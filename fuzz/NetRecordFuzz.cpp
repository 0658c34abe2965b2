// A peer's record as it comes off the session: the TNetMessage layout, the move text inside it
// and the checks a record passes before it reaches the board. Param5, unused by the game,
// lends its low 25 bits to the board: bit (column - 1) * 5 + (row - 1) set is a free cell.

#include "FuzzCheck.h"
#include "dictionary/Dictionary.h"
#include "net/NetRecords.h"

namespace {

bool IsCell(QPoint cell) {
    return cell.x() >= 1 && cell.x() <= 5 && cell.y() >= 1 && cell.y() <= 5;
}

void CheckMoveText(QByteArrayView text) {
    const std::optional<TMoveText> move = DecodeMoveText(text);
    if (!move)
        return;
    FUZZ_CHECK(move->Word.size() >= TDictionary::MinLength &&
               move->Word.size() <= TDictionary::MaxLength);
    FUZZ_CHECK(move->Cells.size() == move->Word.size());
    for (const QPoint& cell : move->Cells)
        FUZZ_CHECK(IsCell(cell));
    FUZZ_CHECK(EncodeMoveText(*move) == text);
}

void CheckWordMoves(const TNetMessage& message) {
    const auto isFree = [&](QPoint cell) {
        FUZZ_CHECK(IsCell(cell)); // asked only about cells of the board
        return (message.Param5 >> ((cell.x() - 1) * 5 + cell.y() - 1) & 1) != 0;
    };
    for (int language : {1, 2}) {
        const std::optional<TMoveText> move = CheckWordMove(message, language, isFree);
        if (!move)
            continue;
        FUZZ_CHECK(isFree({message.Param1, message.Param2}));
        const int first = language == 1 ? 0xC0 : 'A';
        const int last = first + (language == 1 ? 31 : 25);
        FUZZ_CHECK(message.Param3 >= first && message.Param3 <= last);
        for (char letter : move->Word)
            FUZZ_CHECK(static_cast<uchar>(letter) >= first && static_cast<uchar>(letter) <= last);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes = FuzzBytes(data, size);
    CheckMoveText(bytes);
    const std::optional<TNetMessage> message = DecodeNetMessage(bytes);
    if (!message)
        return 0;
    FUZZ_CHECK(message->Text.size() + NetMessageOverhead == bytes.size());
    // The pad is not read, so everything but the pad comes back as it was.
    const QByteArray again = EncodeNetMessage(*message);
    FUZZ_CHECK(again.size() == bytes.size());
    FUZZ_CHECK(again.chopped(4) == bytes.chopped(4));
    CheckMoveText(message->Text);
    if (IsStartRecord(*message))
        FUZZ_CHECK(message->Text.size() == 5);
    CheckWordMoves(*message);
    return 0;
}
