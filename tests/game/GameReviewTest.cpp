// The record of a game and its review: what the game notes each turn, the record's text
// form, and the longest word each position allowed.

#include "game/GameReview.h"
#include "GameFixture.h"
#include "platform/CodePage.h"
#include "platform/Errors.h"

namespace {

// A record's text with the header for `language` and the given turn lines.
QByteArray RecordText(int language, std::initializer_list<const char*> turns) {
    QByteArray text = "kordi-record language " + QByteArray::number(language) + "\n";
    for (const char* turn : turns)
        text += QByteArray(turn) + "\n";
    return text;
}

class ReviewTest : public ::testing::Test {
protected:
    void UseWords(int language, const QByteArray& lines) {
        folder.Write("words", lines);
        words.Language = static_cast<quint16>(language);
        words.FirstLetter = language == 1 ? 0xC0 : 'A';
        words.LoadFile(folder.Path("words"));
    }
    QList<TTurnReview> Review(const TGameRecord& record) {
        QList<TTurnReview> reviews;
        for (const TRecordedTurn& turn : record.Turns)
            reviews.append(ReviewTurn(turn, words));
        return reviews;
    }

    // Each turn's best word and the points it missed.
    static QByteArray Findings(const QList<TTurnReview>& reviews) {
        QByteArrayList found;
        for (const TTurnReview& review : reviews)
            found.append(review.Best + ' ' + QByteArray::number(review.Missed));
        return found.join(", ");
    }

    TestFolder folder;
    TDictionary words;
};

} // namespace

// A turn that played the longest word left nothing; a longer word, even one beyond the
// advice's ten letters, counts its extra letters; a pass leaves the whole best word; the words
// used at that moment are never proposed, and a position without a word leaves nothing; the
// sum goes to the player who moved.
TEST_F(ReviewTest, MeasuresEachTurnAgainstTheLongestUnusedWord) {
    UseWords(2, "HOUSE\r\nAH\r\nHA\r\nHOUSEKEEPER\r\n");
    const TGameRecord record =
        ReadRecord(RecordText(2, {"1 ..........HOUSE.......... AH *12-13 HOUSE",
                                  "2 ..........HOUSE.......... - - AH,HOUSE",
                                  "1 .....EPEEKHOUSE.......... AH *14-13 HOUSE",
                                  "2 ..........HOUSE.......... - - AH,HA,HOUSE"}),
                   "game");
    const QList<TTurnReview> reviews = Review(record);
    EXPECT_EQ(Findings(reviews), "AH 0, HA 2, HOUSEKEEPER 9,  0");
    EXPECT_EQ(reviews[2].Cell, TCellPos(1, 1));
    EXPECT_EQ(reviews[2].Letter, 'R');
    EXPECT_EQ(reviews[2].Path.size(), 11);
    EXPECT_EQ(PointsLeft(record, reviews), (std::array<int, 2>{9, 2}));
}

// A Russian record is read in UTF-8 and reviewed in code page 1251 capitals.
TEST_F(ReviewTest, ReviewsRussianGames) {
    UseWords(1, CodePage::FromUnicode(QString::fromUtf8("КОШКА\r\nКОТ\r\n")));
    const TGameRecord record =
        ReadRecord(RecordText(1, {"1 ..........кошка.......... - - КОШКА"}), "игра");
    EXPECT_EQ(record.Language, 1);
    const QList<TTurnReview> reviews = Review(record);
    EXPECT_EQ(CodePage::ToUnicode(reviews[0].Best), QString::fromUtf8("КОТ"));
    EXPECT_EQ(reviews[0].Missed, 3);
}

// Written text reads back as the same record, turn for turn.
TEST(GameRecordText, RoundTrips) {
    const QByteArray text = RecordText(2, {"1 ..........HOUSE.......... AH *12-13 HOUSE",
                                           "2 .A........HOUSE.......... - - AH,HOUSE",
                                           "1 .A........HOUSE.......... ASO 21-*22-23 AH,HOUSE"});
    EXPECT_EQ(WriteRecord(ReadRecord(text, "game")), text);
}

// Each way a record can break the format or the rules of a move is refused, naming the line.
TEST(GameRecordText, RefusesMalformedLines) {
    const QList<std::pair<QByteArray, int>> bad = {
        {"", 1},
        {"kordi-record language 3\n", 1},
        {RecordText(2, {"3 ..........HOUSE.......... - - HOUSE"}), 2},
        {RecordText(2, {"1 ..........HOUSE...... - - HOUSE"}), 2},
        {RecordText(2, {"1 ..........HOUS1.......... - - HOUSE"}), 2},
        {RecordText(2, {"", "1 ..........HOUSE.......... AH *12-14 HOUSE"}), 3},
        {RecordText(2, {"1 ..........HOUSE.......... AH 12-13 HOUSE"}), 2},
        {RecordText(2, {"1 ..........HOUSE.......... AH *13-12 HOUSE"}), 2},
        {RecordText(2, {"1 ..........HOUSE.......... AH *12-13-12 HOUSE"}), 2},
        {RecordText(2, {"1 ..........HOUSE.......... AH *62-13 HOUSE"}), 2},
        {RecordText(2, {"1 ..........HOUSE.......... AH - HOUSE"}), 2},
        {RecordText(2, {"1 ..........HOUSE.......... AH *12-13"}), 2},
    };
    for (const auto& [text, line] : bad) {
        try {
            ReadRecord(text, "game.txt");
            ADD_FAILURE() << text.toStdString();
        } catch (const KordiError& error) {
            EXPECT_TRUE(error.Text().startsWith(QString("game.txt, line %1: ").arg(line)))
                << error.Text().toStdString();
        }
    }
}

// The game notes each turn before it changes the board: the person's word, the computer's
// fruitless move and the person's pass; a new game keeps the ended game's record.
TEST_F(GameTest, RecordsEveryTurn) {
    PlayWord('A', {1, 2}, {{1, 2}, {1, 3}});
    ASSERT_TRUE(Settled());
    game.Skip();
    ASSERT_TRUE(Settled());
    ASSERT_EQ(game.Phase(), TPhase::Over);
    const QByteArray played = RecordText(2, {"1 ..........HOUSE.......... AH *12-13 HOUSE",
                                             "2 .....A....HOUSE.......... - - AH,HOUSE",
                                             "1 .....A....HOUSE.......... - - AH,HOUSE",
                                             "2 .....A....HOUSE.......... - - AH,HOUSE"});
    EXPECT_EQ(WriteRecord(game.Record()).toStdString(), played.toStdString());
    game.StartGame(true);
    EXPECT_TRUE(game.Record().Turns.isEmpty());
    game.StartGame(true); // a game that did not end replaces nothing
    EXPECT_EQ(WriteRecord(game.LastRecord()).toStdString(), played.toStdString());
}
