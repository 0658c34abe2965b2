#include "platform/CodePage.h"

#include <QFile>
#include <QSet>
#include <QStringList>
#include <gtest/gtest.h>

namespace {

struct ShippedList {
    const char* file;       // under data/DATA
    const char* leftOut[2]; // under tools: the stop-list and the reader's obscure words
    unsigned char first;    // the language's first letter
    unsigned char last;
};

const ShippedList Lists[] = {
    {"Lib.RUS", {"stoplist-rus.txt", "obscure-rus.txt"}, 0xC0, 0xDF},
    {"Lib.ENG", {"stoplist-eng.txt", "obscure-eng.txt"}, 'A', 'Z'},
};

QByteArray ReadSource(const QString& relative) {
    QFile file(KORDI_SOURCE_DIR "/" + relative);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << relative.toStdString();
    return file.readAll();
}

// The word lines of a shipped list, after checking that every line ends in CR LF.
QList<QByteArray> WordLines(const ShippedList& list) {
    const QByteArray content = ReadSource(QString("data/DATA/") + list.file);
    EXPECT_TRUE(content.endsWith("\r\n")) << list.file;
    QList<QByteArray> lines = content.chopped(1).split('\n');
    QList<QByteArray> words;
    for (QByteArray& line : lines) {
        EXPECT_TRUE(line.endsWith('\r')) << list.file << ": " << line.toStdString();
        line.chop(1);
        if (!line.startsWith(';'))
            words.append(line);
    }
    EXPECT_TRUE(lines.first().startsWith(';')) << list.file << " opens with its source notice";
    return words;
}

bool InAlphabet(const QByteArray& word, const ShippedList& list) {
    for (const char c : word) {
        const auto letter = static_cast<unsigned char>(c);
        if (letter < list.first || letter > list.last)
            return false;
    }
    return true;
}

} // namespace

// Each shipped list is sorted, has no duplicate, holds only capitals of its alphabet (so Ё
// is written Е) in words of 2 to 20 letters, and is large enough to play and to draw start
// words from.
TEST(ShippedLists, WellFormedAndLargeEnough) {
    for (const ShippedList& list : Lists) {
        const QList<QByteArray> words = WordLines(list);
        int fiveLetters = 0;
        for (qsizetype i = 0; i < words.size(); ++i) {
            const QByteArray& word = words[i];
            EXPECT_TRUE(word.size() >= 2 && word.size() <= 20) << list.file << ": " << word.data();
            EXPECT_TRUE(InAlphabet(word, list)) << list.file << ": " << word.data();
            if (i > 0) {
                EXPECT_LT(words[i - 1], word) << list.file << ": order or duplicate";
            }
            fiveLetters += word.size() == 5;
        }
        EXPECT_GE(words.size(), 15000) << list.file;
        EXPECT_GE(fiveLetters, 1500) << list.file;
    }
}

// No word of a committed stop-list (obscenities, slurs, insults, brands, abbreviations) or
// of the reader's list of obscure words reaches the shipped list of its language.
TEST(ShippedLists, HoldNoLeftOutWord) {
    for (const ShippedList& list : Lists) {
        const QList<QByteArray> words = WordLines(list);
        const QSet<QByteArray> shipped(words.begin(), words.end());
        for (const char* leftOut : list.leftOut) {
            const QString text = QString::fromUtf8(ReadSource(QString("tools/") + leftOut));
            int checked = 0;
            for (QString line : text.split('\n')) {
                line = line.trimmed();
                if (line.isEmpty() || line.startsWith('#'))
                    continue;
                const QByteArray word = CodePage::FromUnicode(line.toUpper().replace(u'Ё', u'Е'));
                EXPECT_FALSE(shipped.contains(word)) << leftOut << ": " << line.toStdString();
                ++checked;
            }
            EXPECT_GT(checked, 0) << leftOut;
        }
    }
}
