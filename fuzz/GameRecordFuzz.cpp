// A game record file as anyone may have written it: reading either refuses it with a
// KordiError or gives a record whose text reads back as the same record, and every turn of
// it can be reviewed.

#include "FuzzCheck.h"
#include "dictionary/Dictionary.h"
#include "game/GameReview.h"
#include "platform/Errors.h"

#include <QFile>

namespace {

// A dictionary of each language that shares letters with most boards.
const TDictionary& Dictionary(quint16 language) {
    static TDictionary words[2];
    TDictionary& chosen = words[language - 1];
    if (chosen.Lists[2].isEmpty()) {
        const QString path = FuzzFolder().filePath(QString("words%1").arg(language));
        QFile file(path);
        FUZZ_CHECK(file.open(QIODevice::WriteOnly));
        file.write(language == 1 ? "\xC0\xC1\r\n\xCA\xCE\xD2\r\n" : "AH\r\nHOUSE\r\nSEA\r\n");
        file.close();
        chosen.Language = language;
        chosen.FirstLetter = language == 1 ? 0xC0 : 'A';
        chosen.LoadFile(path);
    }
    return chosen;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    TGameRecord record;
    try {
        record = ReadRecord(FuzzBytes(data, size), "record");
    } catch (const KordiError&) {
        return 0;
    }
    const QByteArray text = WriteRecord(record);
    FUZZ_CHECK(WriteRecord(ReadRecord(text, "written")) == text);
    for (const TRecordedTurn& turn : record.Turns) {
        const TTurnReview review = ReviewTurn(turn, Dictionary(record.Language));
        FUZZ_CHECK(review.Missed >= 0 && review.Path.size() == review.Best.size());
    }
    return 0;
}
