#include "FakeSound.h"
#include "TestFolder.h"

#include <gtest/gtest.h>

namespace {

using Mode = ISoundOutput::Mode;

class SoundEffectsTest : public ::testing::Test {
protected:
    TestFolder folder_;
    TSoundEffects sounds_{folder_.Program()};
    FakeSoundScope scope_{sounds_};
};

} // namespace

// With sound off a waited-for sound becomes a pause of 900 ms and nothing plays; with sound
// on it plays and lasts its own length. The switch is read at every request.
TEST_F(SoundEffectsTest, WaitedSoundsLastTheirLengthOrAPause) {
    scope_.SetSoundOn(false);
    sounds_.PlaySoundEffect(SoundClick1);
    EXPECT_EQ(sounds_.PlayWaitedSound(SoundApply), SilentPauseMs);
    sounds_.PlayMusic("Herzeleid4bit");
    EXPECT_TRUE(scope_.Sound().Played.empty());

    scope_.SetSoundOn(true);
    scope_.Sound().LengthOfEach = std::chrono::milliseconds(420);
    EXPECT_EQ(sounds_.PlayWaitedSound(SoundSend), 420);
    EXPECT_EQ(scope_.Sound().Played.size(), 1u);
}

// Each index plays its own file from the program folder's sounds; an index outside the table
// of eight is refused, not read past the end.
TEST_F(SoundEffectsTest, SoundOnPlaysTheNamedFileFromTheProgramFolder) {
    const char* names[] = {"click1", "click2", "click3",   "apply",
                           "winner", "loser",  "question", "send"};
    std::vector<TFakeSound::TRequest> expected;
    for (int index = SoundClick1; index <= SoundSend; ++index) {
        sounds_.PlaySoundEffect(index);
        expected.emplace_back(folder_.Path(QString("sounds/%1.wav").arg(names[index])),
                              Mode::Async);
    }
    EXPECT_THROW(sounds_.PlaySoundEffect(8), std::out_of_range);
    EXPECT_THROW(sounds_.PlaySoundEffect(-1), std::out_of_range);
    EXPECT_EQ(scope_.Sound().Played, expected);
}
