#include "ErrorText.h"
#include "dictionary/Dictionary.h"
#include "platform/CodePage.h"
#include "platform/TexturedLabel.h"
#include "settings/Settings.h"
#include "ui/QuestionWindow.h"
#include "ui/RecordsWindow.h"
#include "ui/ResultWindow.h"
#include "ui/WindowFixture.h"

#include <QLabel>
#include <QTest>

namespace {

// A list holding the scores from place 0 on, each named after its place.
TWinnerList ListOf(std::initializer_list<qint32> scores) {
    TWinnerList list;
    int place = 0;
    for (qint32 score : scores) {
        list[place] = {"P" + QByteArray::number(place), score};
        ++place;
    }
    return list;
}

TWinnersTable TableWith(int language, int level, const TWinnerList& list) {
    TWinnersTable table;
    table[language][level] = list;
    return table;
}

} // namespace

// A result goes to the first place whose score is not higher, so it ranks above an
// older equal one and the tenth falls out; a result below a full list changes nothing;
// no other list is touched.
TEST(WinnersTable, PlacesFollowTheRankingRule) {
    TWinnersTable table;
    EXPECT_TRUE(AddToWinners(table, 2, 4, -3, "P0"));
    EXPECT_EQ(FormatWinners(table), FormatWinners(TableWith(2, 4, ListOf({-3}))));

    const TWinnerList full = ListOf({90, 80, 70, 60, 50, 40, 30, 20, 10, 5});
    table = TableWith(1, 1, full);
    EXPECT_FALSE(AddToWinners(table, 1, 1, 4, "Low"));
    EXPECT_EQ(FormatWinners(table), FormatWinners(TableWith(1, 1, full)));
    EXPECT_TRUE(AddToWinners(table, 1, 1, 60, "New"));
    EXPECT_EQ(table[1][1][3], (TWinner{"New", 60}));
    EXPECT_EQ(table[1][1][4], full[3]);
    EXPECT_EQ(table[1][1][9], full[8]);
    EXPECT_TRUE(AddToWinners(table, 1, 1, 10, "Tie"));
    EXPECT_EQ(table[1][1][9], (TWinner{"Tie", 10}));
}

// The file holds 252 CR LF lines and gives back the same table, negative results, names
// with spaces and empty names included; a line break or any other control byte in a name,
// and a character the code page lacks, reach the file as one line of plain text.
TEST(WinnersFile, WriteAndReadGiveBackTheTable) {
    TestFolder folder;
    TRunWinners Winners;
    TWinnersTable table;
    table[1][1] = ListOf({12, 0, -7});
    table[1][1][1].Name = CodePage::FromUnicode(u"Иван Петров");
    table[2][6][0] = {"", -250};
    table[2][3][0] = {"two\r\nlines", 3};
    table[2][3][1] = {CodePage::FromUnicode(u"José\x01"), 2};
    Winners = table;
    WriteWinners(Winners, folder.Program());

    const QByteArray bytes = folder.Read("DATA/Winners");
    EXPECT_EQ(bytes.count("\r\n"), 252);
    EXPECT_EQ(bytes.count('\n'), 252);
    EXPECT_TRUE(bytes.startsWith("P0\r\n12\r\n" + table[1][1][1].Name +
                                 "\r\n0\r\nP2\r\n-7\r\n-\r\n-666\r\n"));

    ClearTable(Winners);
    ReadWinners(Winners, folder.Program());
    EXPECT_TRUE(bytes.contains("\r\nJos??\r\n2\r\n"));
    table[2][3][0].Name = "two  lines";
    table[2][3][1].Name = "Jos??";
    EXPECT_EQ(FormatWinners(Winners), FormatWinners(table));
}

// A file without the layout is refused with the reason; text after a score is ignored.
TEST(WinnersFile, ParsingIsStrict) {
    const QByteArray good = FormatWinners(TableWith(1, 1, ListOf({7})));
    for (const QByteArray& readable :
         {QByteArray(good).replace("\r\n7\r\n", "\r\n 7 points\r\n"), good.chopped(2)})
        EXPECT_EQ(ParseWinners(readable)[1][1][0].Score, 7);
    for (const QByteArray& bad : {good.left(good.size() / 2), QByteArray(),
                                  QByteArray(good).replace("\r\n7\r\n", "\r\n7x\r\n"),
                                  QByteArray(good).replace("\r\n7\r\n", "\r\n\r\n")})
        EXPECT_THROW(ParseWinners(bad), KordiError);
}

// No file at the first start gives a fresh table and no error. An unreadable file is
// named in the error, set aside as ".bad" and never overwritten; the table starts fresh. A
// write finding such a file sets it aside too and writes this run's table; a write that
// cannot happen raises an error naming the file.
TEST(WinnersFile, StartUpCopesWithMissingAndBadFiles) {
    TestFolder folder;
    TRunWinners Winners;
    Winners[1][1][0] = {"Stale", 9};
    EXPECT_NO_THROW(ReadWinners(Winners, folder.Program()));
    EXPECT_EQ(FormatWinners(Winners), FormatWinners(TWinnersTable{}));

    folder.Write("DATA/Winners", "not a records file\r\n");
    folder.Write("DATA/Winners.bad", "older bad file");
    Winners[1][1][0] = {"Stale", 9};
    EXPECT_TRUE(ErrorText([&] {
                    ReadWinners(Winners, folder.Program());
                }).contains(WinnersFileName(folder.Program()) + ".2.bad"));
    EXPECT_EQ(FormatWinners(Winners), FormatWinners(TWinnersTable{}));
    EXPECT_EQ(folder.Read("DATA/Winners.2.bad"), "not a records file\r\n");
    EXPECT_EQ(folder.Read("DATA/Winners.bad"), "older bad file");

    WriteWinners(Winners, folder.Program());
    EXPECT_EQ(folder.Read("DATA/Winners.2.bad"), "not a records file\r\n");
    EXPECT_EQ(folder.Read("DATA/Winners"), FormatWinners(TWinnersTable{}));

    EXPECT_TRUE(AddToWinners(Winners, 2, 1, 9, "Mine"));
    folder.Write("DATA/Winners", "broken\r\n"); // left by another copy
    EXPECT_TRUE(ErrorText([&] {
                    WriteWinners(Winners, folder.Program());
                }).contains(WinnersFileName(folder.Program()) + ".3.bad"));
    EXPECT_EQ(folder.Read("DATA/Winners.3.bad"), "broken\r\n");
    EXPECT_EQ(ParseWinners(folder.Read("DATA/Winners"))[2][1][0], (TWinner{"Mine", 9}));

    QDir(folder.Path("DATA")).removeRecursively();
    EXPECT_TRUE(ErrorText<IoError>([&] {
                    WriteWinners(Winners, folder.Program());
                }).contains(WinnersFileName(folder.Program())));
}

// Two copies on one machine: the write reads the file again and makes this run's changes on
// it, so what another copy wrote meanwhile stays, ranked with this run's results; a list
// cleared in this run is cleared in the file too; no change is made twice.
TEST(WinnersFile, WriteMergesThisRunIntoWhatAnotherCopyWrote) {
    TestFolder folder;
    TRunWinners Winners;
    ReadWinners(Winners, folder.Program());
    TWinnersTable other;
    AddToWinners(other, 1, 2, 30, "Other");
    AddToWinners(other, 1, 2, 10, "Other2");
    AddToWinners(other, 1, 3, 50, "Cleared");
    AddToWinners(other, 2, 5, 7, "Kept");
    folder.Write("DATA/Winners", FormatWinners(other));

    EXPECT_TRUE(AddToWinners(Winners, 1, 2, 20, "Mine"));
    ChangeWinners(Winners, TWinnersChange::ClearListOf(1, 3));
    EXPECT_TRUE(AddToWinners(Winners, 1, 3, 4, "After"));
    WriteWinners(Winners, folder.Program());
    const TWinnersTable written = ParseWinners(folder.Read("DATA/Winners"));
    EXPECT_EQ(written[1][2][0], (TWinner{"Other", 30}));
    EXPECT_EQ(written[1][2][1], (TWinner{"Mine", 20}));
    EXPECT_EQ(written[1][2][2], (TWinner{"Other2", 10}));
    EXPECT_EQ(written[1][3][0], (TWinner{"After", 4}));
    EXPECT_TRUE(written[1][3][1].IsEmpty());
    EXPECT_EQ(written[2][5][0], (TWinner{"Kept", 7}));
    EXPECT_EQ(FormatWinners(Winners), FormatWinners(written));

    WriteWinners(Winners, folder.Program());
    EXPECT_EQ(folder.Read("DATA/Winners"), FormatWinners(written));
    ChangeWinners(Winners, TWinnersChange::ClearEveryList());
    WriteWinners(Winners, folder.Program());
    EXPECT_EQ(folder.Read("DATA/Winners"), FormatWinners(TWinnersTable{}));
}

namespace {

class WinnersWindowTest : public GameFixture {
protected:
    // Presses `button` and answers the question it asks: Yes, No, or 0 for Escape.
    void Press(TTexturedButton* button, int answer) {
        QTest::mouseClick(button, Qt::LeftButton);
        TQuestionWindow* question = QuestionWindow;
        ASSERT_TRUE(question->isVisible());
        if (answer == 0)
            QTest::keyClick(question, Qt::Key_Escape);
        else
            QTest::mouseClick(answer == TQuestionWindow::Yes ? question->YesButton
                                                             : question->NoButton,
                              Qt::LeftButton);
    }
    QString Shown(int column, int row) const {
        return RecordsWindow->WinnerLabels[column][row]->Caption();
    }
};

} // namespace

// The window shows the list of the current language and level only. Clearing asks first: No
// or no answer keeps everything, Yes clears only the current list or, for "Clear all lists",
// every list, in the file too; a clear button is enabled only when there is something to
// clear.
TEST_F(WinnersWindowTest, ShowsTheCurrentListAndClearingAsksFirst) {
    const TWinnerList list = ListOf({30, -2});
    Winners[3 - Words.Language][CurrentLevel()] = list;
    CurrentWinners() = ListOf({7});
    const TWinnersTable before = Winners;
    RecordsWindow->show();
    EXPECT_EQ(Shown(1, 0), "7");
    EXPECT_EQ(Shown(1, 1), "");
    for (int answer : {TQuestionWindow::No, 0}) {
        Press(RecordsWindow->ClearListButton, answer);
        EXPECT_EQ(FormatWinners(Winners), FormatWinners(before)) << "answer " << answer;
    }
    Press(RecordsWindow->ClearListButton, TQuestionWindow::Yes);
    EXPECT_EQ(CurrentWinners()[0], TWinner{});
    EXPECT_EQ(Shown(1, 0), "");
    EXPECT_EQ(Winners[3 - Words.Language][CurrentLevel()][1], list[1]);
    EXPECT_FALSE(RecordsWindow->ClearListButton->isEnabled());

    Press(RecordsWindow->ClearAllButton, TQuestionWindow::Yes);
    EXPECT_FALSE(HasAnyResult(Winners));
    EXPECT_FALSE(RecordsWindow->ClearAllButton->isEnabled());
    RecordsWindow->hide();

    // The clearing reaches the file though another copy wrote the lists meanwhile.
    folder.Write("DATA/Winners", FormatWinners(before));
    WriteWinners(Winners, folder.Program());
    EXPECT_FALSE(HasAnyResult(ParseWinners(folder.Read("DATA/Winners"))));
}
