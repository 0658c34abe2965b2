#pragma once
// The dictionary of the current language: one sorted list per word length, read from
// DATA/Lib.RUS or DATA/Lib.ENG beside the program, and the current language and alphabet.

#include "platform/Checked.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <functional>
#include <memory>

class TPrefixTree;
class TProgramFolder;

// A language's capitals in code page 1251: 32 from code 192 for Russian (1), 26 from "A" for
// English (2).
struct TAlphabet {
    unsigned char First;
    int Size;
    bool Contains(int code) const { return code >= First && code < First + Size; }
};
inline TAlphabet AlphabetOf(int language) {
    return language == 1 ? TAlphabet{0xC0, 32} : TAlphabet{'A', 26};
}

struct TDictionary {
    static constexpr int MinLength = 2;
    static constexpr int MaxLength = 20;

    QString FileName;
    quint16 Language = 1;
    // Counted in 32 bits: a valid file may hold more than 65,535 words.
    CheckedArray<quint32, 1, 2> WordCount;
    unsigned char FirstLetter = 0xC0;
    QString LanguageName = "Russian";
    CheckedArray<QList<QByteArray>, MinLength, MaxLength> Lists;

    // Called after each successful load, so the language menu can show the fresh counts.
    std::function<void()> CountsChanged;

    int AlphabetSize() const { return AlphabetOf(Language).Size; }
    // The player's dictionary file of the language in the program's folder.
    static QString FileForLanguage(const TProgramFolder& folder, int language);

    // Reads the current language's dictionary of the program's folder.
    void LoadWords(const TProgramFolder& folder);
    // Reads the given file as the current language's dictionary.
    void LoadFile(const QString& path);
    bool FindWord(QByteArrayView word, int length) const;
    // Adds the word on a line of its own at the end of FileName as it is on disk now, under
    // the lock another copy of the game takes too. The file is replaced as a whole: it holds
    // either the old words or the old words and the new one. Raises IoError.
    void AppendWord(const QByteArray& word);

    // The prefix index of the words in memory, built on first use after each load.
    const TPrefixTree& Prefixes() const;

private:
    mutable std::shared_ptr<const TPrefixTree> prefixes_;
};

// Sets the current language of the dictionary: 1 Russian, 2 English, with its name (which
// names its text section) and the first letter of its alphabet.
void UseLanguage(TDictionary& words, quint16 language);
