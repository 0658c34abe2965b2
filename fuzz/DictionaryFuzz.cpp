// A dictionary file as a person may have edited it: loading gives sorted lists of words of
// their own length, every loaded word is found, the prefix index builds, and a word appended
// to the file is found after the next load while every older word stays.
// The first byte picks the language; the rest is the file.

#include "FuzzCheck.h"
#include "dictionary/Dictionary.h"
#include "dictionary/PrefixTree.h"
#include "platform/CodePage.h"
#include "settings/Settings.h"

#include <QFile>

namespace {

const QByteArray Appended = "QZX";

QList<QByteArray> LoadedWords() {
    QList<QByteArray> words;
    for (int length = TDictionary::MinLength; length <= TDictionary::MaxLength; ++length) {
        const QList<QByteArray>& list = Words.Lists[length];
        for (qsizetype i = 0; i < list.size(); ++i) {
            FUZZ_CHECK(list[i].size() == length);
            FUZZ_CHECK(i == 0 || CodePage::CompareNoCase(list[i - 1], list[i]) < 0);
        }
        words += list;
    }
    return words;
}

bool AllFound(const QList<QByteArray>& words) {
    return std::all_of(words.begin(), words.end(), [](const QByteArray& word) {
        return Words.FindWord(word, static_cast<int>(word.size()));
    });
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    UseLanguage(data[0] % 2 + 1);
    const QString path = FuzzFolder().filePath("Lib.ENG");
    {
        QFile file(path);
        FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(reinterpret_cast<const char*>(data + 1), qint64(size - 1));
    }
    Words.LoadFile(path);
    const QList<QByteArray> words = LoadedWords();
    FUZZ_CHECK(AllFound(words));
    FUZZ_CHECK(!Words.FindWord("X", 1) && !Words.FindWord(QByteArray(21, 'A'), 21));
    FUZZ_CHECK(Words.Prefixes().NodeCount() >= 1);
    const quint32 count = Words.WordCount[Words.Language];

    Words.AppendWord(Appended);
    Words.LoadFile(path);
    FUZZ_CHECK(Words.WordCount[Words.Language] == count + 1);
    FUZZ_CHECK(Words.FindWord(Appended, static_cast<int>(Appended.size())));
    FUZZ_CHECK(AllFound(words));
    return 0;
}
