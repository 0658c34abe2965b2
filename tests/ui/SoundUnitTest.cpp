#include "FakeSound.h"
#include "TestFolder.h"

#include <gtest/gtest.h>

namespace {

using Mode = ISoundOutput::Mode;

class SoundUnitTest : public ::testing::Test {
protected:
    SoundUnitTest() {
        SoundSettings.WaitTicks = [this](int ticks) { waits_.push_back(ticks); };
    }
    TestFolder folder_;
    FakeSoundScope scope_;
    std::vector<int> waits_;
};

} // namespace

// With sound off a waited-for sound becomes a pause of 9 ticks; other sounds just vanish.
// The switch is read at every request, so turning it on applies from the next sound.
TEST_F(SoundUnitTest, SoundOffPausesOnlyForSynchronousSounds) {
    scope_.SetSoundOn(false);
    PlaySoundEffect(SoundClick1, false);
    EXPECT_TRUE(waits_.empty());
    PlaySoundEffect(SoundApply, true);
    EXPECT_EQ(waits_, std::vector<int>{9});
    PlayMusic("Herzeleid4bit");
    EXPECT_TRUE(scope_.Sound().Played.empty());

    scope_.SetSoundOn(true);
    PlaySoundEffect(SoundSend, true);
    EXPECT_EQ(waits_.size(), 1u);
    EXPECT_EQ(scope_.Sound().Played.size(), 1u);
}

// Each index plays its own file from the program folder's sounds, in the asked-for mode; an
// index outside the table of eight is refused, not read past the end.
TEST_F(SoundUnitTest, SoundOnPlaysTheNamedFileFromTheProgramFolder) {
    const char* names[] = {"click1", "click2", "click3",   "apply",
                           "winner", "loser",  "question", "send"};
    std::vector<TFakeSound::TRequest> expected;
    for (int index = SoundClick1; index <= SoundSend; ++index) {
        PlaySoundEffect(index, index % 2 == 1);
        expected.emplace_back(folder_.Path(QString("sounds/%1.wav").arg(names[index])),
                              index % 2 == 1 ? Mode::Sync : Mode::Async);
    }
    EXPECT_THROW(PlaySoundEffect(8, false), std::out_of_range);
    EXPECT_THROW(PlaySoundEffect(-1, false), std::out_of_range);
    EXPECT_EQ(scope_.Sound().Played, expected);
    EXPECT_TRUE(waits_.empty());
}
