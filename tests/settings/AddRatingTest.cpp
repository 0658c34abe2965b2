#include "dictionary/Dictionary.h"
#include "platform/CodePage.h"
#include "platform/TexturedLabel.h"
#include "settings/Settings.h"
#include "ui/Faces.h"
#include "ui/FakeSound.h"
#include "ui/QuestionWindow.h"
#include "ui/RecordsWindow.h"
#include "ui/ResultWindow.h"
#include "ui/WindowFixture.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

namespace {

class AddRatingTest : public GameFixture {
protected:
    void EndGame(int person, int opponent) {
        Game().StartGame(true);
        Game().CreditWord(1, QByteArray(person, 'A'));
        Game().CreditWord(2, QByteArray(opponent, 'B'));
    }
    // The index of the face the main window shows, -1 for none of them.
    int ShownFace() const {
        const qint64 shown = window->ComputerFace->pixmap().cacheKey();
        for (int face = 0; face < FaceCount; ++face)
            if (look.Faces[face].cacheKey() == shown)
                return face;
        return -1;
    }
    static void Type(QWidget* widget, const QString& text) {
        for (QChar character : text) {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(character));
            QApplication::sendEvent(widget, &press);
        }
    }

    // The one sound the window played, asynchronously as it goes on at once.
    void ExpectPlayed(const char* name) const {
        const TFakeSound::TRequest played{SoundFile(name), ISoundOutput::Mode::Async};
        EXPECT_EQ(sound.Sound().Played, std::vector{played});
    }

    FakeSoundScope sound{look.Sounds};
};

} // namespace

// A won game earning a place: result line, name prompt with the default name, sad face,
// "winner"; the typed name lands in the table with the result, and the records window
// shows it next.
TEST_F(AddRatingTest, WinnerEntersName) {
    EndGame(30, 25);
    const QString name = u"Иван Петров"_qs;
    bool done = false;
    Main().ShowGameResult([&done] { done = true; });
    TResultWindow* result = AddRatingWindow;
    ASSERT_TRUE(result->isVisible());
    EXPECT_EQ(result->CreditLabel->Caption(), GetTextU("AddRating1") + " 5");
    EXPECT_EQ(result->Edit1->text(), GetTextU("Anonimous"));
    EXPECT_TRUE(result->Edit1->isVisible());
    EXPECT_FALSE(result->CoolLabel3->isVisible());
    EXPECT_EQ(result->windowTitle(), GetTextU("GameOver"));
    EXPECT_EQ(ShownFace(), 5);
    EXPECT_EQ(Main().MainActive, 0);
    result->Edit1->clear();
    Type(result->Edit1, name);
    QTest::mouseClick(result->CoolOkButton, Qt::LeftButton);
    ASSERT_TRUE(WinnersWindow->isVisible());
    EXPECT_EQ(WinnersWindow->WinnerLabels[2][0]->Caption(), name);
    EXPECT_EQ(WinnersWindow->WinnerLabels[1][0]->Caption(), "5");
    QTest::mouseClick(WinnersWindow->CoolOkbutton, Qt::LeftButton);
    EXPECT_TRUE(done);
    EXPECT_EQ(CurrentWinners()[0], (TWinner{CodePage::FromUnicode(name), 5}));
    ExpectPlayed("winner");
    EXPECT_EQ(ShownFace(), 0);
    EXPECT_EQ(Main().MainActive, 1);
}

// A lost game with a free place: the face laughs 7, 8, 9, 10, 11, 8, 7 and again from 7
// while the window is open, rests when it closes, and the negative result is kept; a drawn
// game shows 0 and the sad face.
TEST_F(AddRatingTest, LoserLaughsAndDrawLooksSad) {
    EndGame(10, 30);
    AddRatingWindow->FaceStep = 0;
    AddRatingWindow->show();
    EXPECT_TRUE(AddRatingWindow->FaceAnimating);
    EXPECT_EQ(AddRatingWindow->CreditLabel->Caption(), GetTextU("AddRating1") + " -20");
    QList<int> faces;
    for (int tick = 0; tick < 9; ++tick) {
        AddRatingWindow->TimerTimer();
        faces << ShownFace();
    }
    EXPECT_EQ(faces, (QList<int>{7, 8, 9, 10, 11, 8, 7, 7, 8}));
    AddRatingWindow->accept();
    EXPECT_FALSE(AddRatingWindow->FaceAnimating);
    EXPECT_EQ(ShownFace(), 0);
    EXPECT_EQ(CurrentWinners()[0], (TWinner{CodePage::FromUnicode(GetTextU("Anonimous")), -20}));
    ExpectPlayed("winner"); // a free place is a place earned

    EndGame(12, 12); // a draw looks sad, and the timer leaves the face alone
    AddRatingWindow->show();
    EXPECT_FALSE(AddRatingWindow->FaceAnimating);
    AddRatingWindow->TimerTimer();
    EXPECT_EQ(ShownFace(), 5);
    EXPECT_EQ(AddRatingWindow->CreditLabel->Caption(), GetTextU("AddRating1") + " 0");
    AddRatingWindow->accept();
}

// A result below a full list gets the no-place message and "loser" and changes nothing.
TEST_F(AddRatingTest, NoPlaceBelowFullList) {
    for (int place = 0; place <= 9; ++place)
        CurrentWinners()[place] = {"Old", 50 - place};
    const TWinnersTable before = Winners;
    EndGame(43, 3);
    AddRatingWindow->show();
    EXPECT_FALSE(AddRatingWindow->Edit1->isVisible());
    EXPECT_FALSE(AddRatingWindow->CoolLabel2->isVisible());
    EXPECT_TRUE(AddRatingWindow->CoolLabel3->isVisible());
    EXPECT_EQ(AddRatingWindow->CoolLabel3->text(), GetTextU("AddRating3"));
    AddRatingWindow->accept();
    EXPECT_EQ(FormatWinners(Winners), FormatWinners(before));
    ExpectPlayed("loser");
}
