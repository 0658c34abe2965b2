#include "ErrorText.h"
#include "TestFolder.h"
#include "dictionary/Dictionary.h"
#include "platform/CodePage.h"

#include <gtest/gtest.h>

namespace {

class WordsTest : public ::testing::Test {
protected:
    void Load(int language, const QByteArray& content) {
        folder.Write(language == 1 ? "DATA/Lib.RUS" : "DATA/Lib.ENG", content);
        Words.Language = static_cast<quint16>(language);
        Words.LoadWords(folder.Program());
    }
    TestFolder folder;
    TDictionary Words;
};

} // namespace

// Comments and lines of 1 or 21 letters are skipped; 2 and 20 letters are words. Each load
// tells the menu; an empty file counts 0, more than 65,535 words are counted correctly.
TEST_F(WordsTest, AcceptsOnlyWordLinesAndCountsThem) {
    int refreshes = 0;
    Words.CountsChanged = [&] { ++refreshes; };
    Load(2, "");
    EXPECT_EQ(Words.WordCount[2], 0u);
    QByteArray many;
    for (int i = 0; i < 70000; ++i)
        many += "W" + QByteArray::number(i).replace('0', 'A') + "\r\n";
    Load(2, many);
    EXPECT_EQ(Words.WordCount[2], 70000u);

    Load(2, ";CAT\r\nA\r\nAB\r\nABCDEFGHIJKLMNOPQRSTU\r\nABCDEFGHIJKLMNOPQRST\r\n\r\n");
    EXPECT_EQ(Words.WordCount[2], 2u);
    EXPECT_FALSE(Words.FindWord(";CAT", 4));
    EXPECT_FALSE(Words.FindWord("A", 1));
    EXPECT_TRUE(Words.FindWord("AB", 2));
    EXPECT_TRUE(Words.FindWord("ABCDEFGHIJKLMNOPQRST", 20));
    EXPECT_FALSE(Words.FindWord("ABCDEFGHIJKLMNOPQRSTU", 21));
    Words.CountsChanged = nullptr;
    EXPECT_EQ(refreshes, 3);
}

// A duplicate counts twice but is stored once; small letters match capitals; a trailing
// space is kept and never matches.
TEST_F(WordsTest, DuplicatesCaseAndSpaces) {
    Load(1, CodePage::FromUnicode(u"кот\r\nКОТ\r\nдом \r\nлес"));
    EXPECT_EQ(Words.WordCount[1], 4u);
    EXPECT_EQ(Words.Lists[3].size(), 2);
    EXPECT_TRUE(Words.FindWord(CodePage::FromUnicode(u"КОТ"), 3));
    EXPECT_TRUE(Words.FindWord(CodePage::FromUnicode(u"ЛЕС"), 3));
    EXPECT_FALSE(Words.FindWord(CodePage::FromUnicode(u"ДОМ"), 3));
    EXPECT_TRUE(Words.FindWord(CodePage::FromUnicode(u"ДОМ "), 4));
}

// A word appended after a last line without its line end, or ended by a bare CR, stands on
// a line of its own, and that last line keeps its word.
TEST_F(WordsTest, AppendThenReload) {
    for (const QByteArray& content : {QByteArray("CAT\r\nDOG"), QByteArray("CAT\r\nDOG\r")}) {
        Load(2, content);
        Words.AppendWord("MOUSE");
        Words.LoadWords(folder.Program());
        EXPECT_EQ(folder.Read("DATA/Lib.ENG"), "CAT\r\nDOG\r\nMOUSE\r\n");
        EXPECT_EQ(Words.WordCount[2], 3u);
        EXPECT_TRUE(Words.FindWord("MOUSE", 5));
        EXPECT_TRUE(Words.FindWord("DOG", 3));
    }
}

// A missing file raises an error naming it, and an append that cannot write raises; both
// leave the words in memory alone.
TEST_F(WordsTest, FailedReadOrAppendKeepsTheWords) {
    Load(2, "CAT\r\n");
    Words.FileName = folder.Path("missing-folder/Lib.ENG");
    EXPECT_THROW(Words.AppendWord("DOG"), IoError);
    EXPECT_FALSE(Words.FindWord("DOG", 3));
    Words.Language = 1;
    EXPECT_TRUE(
        ErrorText<IoError>([this] { Words.LoadWords(folder.Program()); }).contains("Lib.RUS"));
    EXPECT_TRUE(Words.FindWord("CAT", 3));
    EXPECT_EQ(Words.WordCount[2], 1u);
    EXPECT_EQ(Words.WordCount[1], 0u);
}
