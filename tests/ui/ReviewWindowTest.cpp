// The review window on a short recorded game, and its saved record read back by kordi-move.

#include "ui/ReviewWindow.h"
#include "TestRun.h"

#include <QFile>
#include <QProcess>
#include <QTableWidget>
#include <QTest>
#include <gtest/gtest.h>

namespace {

const QByteArray ShortGame = "kordi-record language 2\n"
                             "1 ..........HOUSE.......... AH *12-13 HOUSE\n"
                             "2 .....A....HOUSE.......... - - AH,HOUSE\n";

class ReviewWindowTest : public ::testing::Test, protected TestRun {
protected:
    ReviewWindowTest() {
        folder.LayShippedData();
        folder.Write("words", "HOUSE\r\nAH\r\nHOUSES\r\n");
        words.Language = 2;
        words.FirstLetter = 'A';
        words.LoadFile(folder.Path("words"));
        window.Review(ReadRecord(ShortGame, "game"), words);
        window.show();
    }
    // A row of the table, its cells joined by "|".
    QString Row(int row) const {
        QStringList cells;
        for (int column = 0; column < window.Turns->columnCount(); ++column)
            cells.append(window.Turns->item(row, column)->text());
        return cells.join('|');
    }
    QString KordiMove(const QString& record) {
        QProcess tool;
        tool.start(KORDI_GAME_DIR "/kordi-move",
                   {"--dict", folder.Path("words"), "--review", folder.Path(record)});
        EXPECT_TRUE(tool.waitForFinished(30000));
        return QString::number(tool.exitCode()) + ' ' +
               QString::fromUtf8(tool.readAllStandardOutput() + tool.readAllStandardError());
    }

    TDictionary words;
    TReviewWindow window{look, nullptr};
};

} // namespace

// The saved record is the text kordi-move reviews, with the window's findings line for line;
// a malformed record is refused naming its line, with status 2.
TEST_F(ReviewWindowTest, SavedRecordReviewsTheSameWithKordiMove) {
    ASSERT_TRUE(QTest::qWaitFor([this] { return !window.Reviewing(); }));
    window.SaveTo(folder.Path("saved.txt"));
    EXPECT_EQ(KordiMove("saved.txt"),
              "0 1 1 AH 2 HOUSES 5 2 S 4\n2 2 - 0 HOUSES 5 2 S 6\nleft 4 6\n");
    folder.Write("broken.txt", ShortGame + "1 ..........HOUSE.......... AH *12 HOUSE\n");
    EXPECT_TRUE(KordiMove("broken.txt").startsWith("2 ")) << "refused with status 2";
    EXPECT_TRUE(KordiMove("broken.txt").contains("broken.txt, line 4: "));
}

// A record in another language than the game's is reviewed with its own language's
// dictionary: the game's Russian words find nothing on an English board.
TEST_F(ReviewWindowTest, ReviewsWithTheRecordsOwnDictionary) {
    folder.Write("DATA/Lib.ENG", "HOUSE\r\nAH\r\nHOUSES\r\n");
    folder.Write("slova", "\xCA\xCE\xD2\r\n");
    TDictionary russian;
    russian.LoadFile(folder.Path("slova"));
    window.Review(ReadRecord(ShortGame, "game"), russian);
    ASSERT_TRUE(QTest::qWaitFor([this] { return !window.Reviewing(); }));
    ASSERT_EQ(window.Turns->rowCount(), 2);
    EXPECT_EQ(Row(0), "1|AH|2|HOUSES|S 5,2|4");
}
