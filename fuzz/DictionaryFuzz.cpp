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

QList<QByteArray> LoadedWords(const TDictionary& dictionary) {
    QList<QByteArray> words;
    for (int length = TDictionary::MinLength; length <= TDictionary::MaxLength; ++length) {
        const QList<QByteArray>& list = dictionary.Lists[length];
        for (qsizetype i = 0; i < list.size(); ++i) {
            FUZZ_CHECK(list[i].size() == length);
            FUZZ_CHECK(i == 0 || CodePage::CompareNoCase(list[i - 1], list[i]) < 0);
        }
        words += list;
    }
    return words;
}

bool AllFound(const TDictionary& dictionary, const QList<QByteArray>& words) {
    return std::all_of(words.begin(), words.end(), [&dictionary](const QByteArray& word) {
        return dictionary.FindWord(word, static_cast<int>(word.size()));
    });
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    TDictionary dictionary;
    UseLanguage(dictionary, data[0] % 2 + 1);
    const QString path = FuzzFolder().filePath("Lib.ENG");
    {
        QFile file(path);
        FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(reinterpret_cast<const char*>(data + 1), qint64(size - 1));
    }
    dictionary.LoadFile(path);
    const QList<QByteArray> words = LoadedWords(dictionary);
    FUZZ_CHECK(AllFound(dictionary, words));
    FUZZ_CHECK(!dictionary.FindWord("X", 1) && !dictionary.FindWord(QByteArray(21, 'A'), 21));
    FUZZ_CHECK(dictionary.Prefixes().NodeCount() >= 1);
    const quint32 count = dictionary.WordCount[dictionary.Language];

    dictionary.AppendWord(Appended);
    dictionary.LoadFile(path);
    FUZZ_CHECK(dictionary.WordCount[dictionary.Language] == count + 1);
    FUZZ_CHECK(dictionary.FindWord(Appended, static_cast<int>(Appended.size())));
    FUZZ_CHECK(AllFound(dictionary, words));
    return 0;
}
