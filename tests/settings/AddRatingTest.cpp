#include "dictionary/Dictionary.h"
#include "platform/CodePage.h"
#include "settings/Settings.h"
#include "ui/Faces.h"
#include "ui/FakeSound.h"
#include "ui/RecordsWindow.h"
#include "ui/ResultWindow.h"
#include "ui/WindowFixture.h"

#include <QLabel>
#include <QLineEdit>

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
    // The only sound the windows played, `times` over, asynchronously as they go on at once.
    void ExpectPlayed(const char* name, size_t times = 1) const {
        const TFakeSound::TRequest played{look.Sounds.SoundFile(name), ISoundOutput::Mode::Async};
        EXPECT_EQ(sound.Sound().Played, std::vector(times, played));
    }

    FakeSoundScope sound{look.Sounds};
};

} // namespace

// A won game looks sad and a drawn one too; a lost game laughs 7, 8, 9, 10, 11, 8, 7 and
// again from 7 while the window is open, and rests when it closes. A result earning a place,
// even a lost one, plays "winner" and files the typed name in the code page.
TEST_F(AddRatingTest, FacesAndFiledNames) {
    EndGame(30, 25);
    ResultWindow->show();
    EXPECT_EQ(ShownFace(), 5);
    ResultWindow->NameEdit->setText(u"Иван Петров"_qs);
    ResultWindow->accept();
    EXPECT_EQ(CurrentWinners()[0], (TWinner{CodePage::FromUnicode(u"Иван Петров"), 5}));

    EndGame(12, 12);
    ResultWindow->show();
    ResultWindow->NextFace();
    EXPECT_EQ(ShownFace(), 5);
    ResultWindow->accept();

    EndGame(10, 30);
    ResultWindow->FaceStep = 0;
    ResultWindow->show();
    QList<int> faces;
    for (int tick = 0; tick < 9; ++tick) {
        ResultWindow->NextFace();
        faces << ShownFace();
    }
    EXPECT_EQ(faces, (QList<int>{7, 8, 9, 10, 11, 8, 7, 7, 8}));
    ResultWindow->accept();
    EXPECT_EQ(ShownFace(), 0);
    EXPECT_EQ(CurrentWinners()[2].Score, -20);
    ExpectPlayed("winner", 3); // a free place is a place earned, whoever won
}

// A result below a full list gets the no-place message and "loser" and changes nothing.
TEST_F(AddRatingTest, NoPlaceBelowFullList) {
    for (int place = 0; place <= 9; ++place)
        CurrentWinners()[place] = {"Old", 50 - place};
    const TWinnersTable before = Winners;
    EndGame(43, 3);
    ResultWindow->show();
    EXPECT_FALSE(ResultWindow->NameEdit->isVisible());
    EXPECT_TRUE(ResultWindow->NoPlaceLabel->isVisible());
    ResultWindow->accept();
    EXPECT_EQ(FormatWinners(Winners), FormatWinners(before));
    ExpectPlayed("loser");
}
