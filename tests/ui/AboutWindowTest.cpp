#include "ui/AboutWindow.h"
#include "FakeSound.h"
#include "TestFolder.h"
#include "settings/RunData.h"
#include "ui/Presentation.h"

#include <QTest>
#include <gtest/gtest.h>
#include <map>

namespace {

class AboutWindow : public ::testing::Test {
protected:
    AboutWindow() { folder.LayShippedData(); }

    void RunFrames(int frames) {
        for (int i = 0; i < frames; ++i)
            form.DXTimerTimer();
    }
    int LooseCount() const {
        int loose = 0;
        for (int i = 0; i <= form.Count; ++i)
            loose += form.Letters[i].Loose;
        return loose;
    }
    static int Always(int) { return 0; }
    static int Never(int range) { return range - 1; }

    TestFolder folder;
    TRunData data;
    TPresentation look{data.Texts};
    FakeSoundScope sound{look.Sounds};
    TAboutWindow form{look};
};

bool AnyLight(const QImage& image) {
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) > 100)
                return true;
    return false;
}

} // namespace

// A second showing starts where the scroll stopped, with the banner once at the top, every
// letter back in the text, and the music looping again; hiding stops the music.
TEST_F(AboutWindow, SecondShowingGoesOnWhereTheScrollStopped) {
    form.Random = Always;
    form.show();
    RunFrames(60);
    EXPECT_GT(LooseCount(), 0);
    EXPECT_TRUE(AnyLight(form.DXDraw->FrontBuffer()));
    const qint32 stoppedAt = form.Frame;
    form.hide();
    EXPECT_EQ(sound.Sound().Stops, 1);

    form.show();
    EXPECT_EQ(LooseCount(), 0);
    QByteArray banner;
    for (int i = 0; i <= form.Count && form.Letters[i].Line == 0; ++i) {
        banner += static_cast<char>(form.Letters[i].Ch);
        EXPECT_EQ(form.Letters[i].Big, 1);
    }
    EXPECT_EQ(banner, "KORDI 2000 v2.01");
    form.Random = Never;
    RunFrames(1);
    EXPECT_EQ(form.Frame, stoppedAt + 1);
    EXPECT_NEAR(form.Letters[0].Y, 250 - (stoppedAt + 1), 3);
    const TFakeSound::TRequest music{SoundFile("Herzeleid4bit"), ISoundOutput::Mode::Loop};
    EXPECT_EQ(sound.Sound().Played, std::vector<TFakeSound::TRequest>({music, music}));
}

// Even when every chance is taken, the last letter stays in the text, so the scroll leaves
// the top and starts again from the bottom.
TEST_F(AboutWindow, LastLetterNeverBreaksLooseAndTheScrollRestarts) {
    form.Random = Always;
    form.show();
    form.hide(); // frames run on without drawing
    bool restarted = false;
    for (int frame = 0; frame < 2000 && !restarted; ++frame) {
        RunFrames(1);
        ASSERT_EQ(form.Letters[form.Count].Loose, 0) << frame;
        restarted = form.Frame == 0;
    }
    EXPECT_TRUE(restarted);
    EXPECT_EQ(LooseCount(), form.Count); // all the others broke loose on their way up
    RunFrames(1);
    EXPECT_NEAR(form.Letters[form.Count].Y, form.Letters[form.Count].Line * 20 + 249, 3);
}

// A click releases one in five of the letters between 0 and 220 pixels from the top, and
// none above or below that band.
TEST_F(AboutWindow, ClickReleasesAFifthOfTheLettersInTheBand) {
    form.Random = Never;
    form.show();
    RunFrames(150);
    std::vector<bool> inBand;
    int bandCount = 0;
    for (int i = 0; i <= form.Count; ++i) {
        const int y = form.Letters[i].Y;
        inBand.push_back(y > 0 && y < 220 && i != form.Count);
        bandCount += inBand.back();
    }
    ASSERT_GT(bandCount, 10);
    ASSERT_LT(bandCount, form.Count);

    std::map<int, int> calls; // each range cycles through its numbers on its own
    form.Random = [&calls](int range) { return calls[range]++ % range; };
    QTest::mouseClick(form.DXDraw, Qt::LeftButton);
    for (int i = 0; i <= form.Count; ++i)
        EXPECT_TRUE(inBand[i] || form.Letters[i].Loose == 0) << i;
    EXPECT_EQ(LooseCount(), (bandCount + 4) / 5);
}
