#include "TestFolder.h"
#include "platform/SdlSound.h"
#include "platform/WavFile.h"

#include <QFile>
#include <QtEndian>
#include <functional>
#include <gtest/gtest.h>
#include <thread>

namespace {

using std::chrono::milliseconds;
using Mode = ISoundOutput::Mode;

const QString ShippedSounds = KORDI_SOURCE_DIR "/data/sounds/";

void Append32(QByteArray& bytes, quint32 value) {
    char le[4];
    qToLittleEndian(value, le);
    bytes.append(le, 4);
}

void Append16(QByteArray& bytes, quint16 value) {
    char le[2];
    qToLittleEndian(value, le);
    bytes.append(le, 2);
}

// A 16-bit stereo 44.1 kHz WAVE file that declares `declared` data bytes, holds `present`
// of them, and has `extra` chunks between the format and the data.
QByteArray MakeWav(quint32 declared, int present, const QByteArray& extra = {}) {
    QByteArray file = "RIFF";
    Append32(file, 0); // the RIFF size is not relied upon
    file += "WAVEfmt ";
    Append32(file, 16);
    Append16(file, 1);
    Append16(file, 2);
    Append32(file, 44100);
    Append32(file, 176400);
    Append16(file, 4);
    Append16(file, 16);
    file += extra;
    file += "data";
    Append32(file, declared);
    return file + QByteArray(present, '\0');
}

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Chooses SDL's audio driver for one test; "nonexistent" stands for a machine without sound.
class AudioDriver {
  public:
    explicit AudioDriver(const char* name) : saved_(qgetenv("SDL_AUDIODRIVER")) {
        qputenv("SDL_AUDIODRIVER", name);
    }
    ~AudioDriver() {
        if (saved_.isNull())
            qunsetenv("SDL_AUDIODRIVER");
        else
            qputenv("SDL_AUDIODRIVER", saved_);
    }

  private:
    QByteArray saved_;
};

milliseconds TimeOf(const std::function<void()>& action) {
    const auto start = std::chrono::steady_clock::now();
    action();
    return std::chrono::duration_cast<milliseconds>(std::chrono::steady_clock::now() - start);
}

// A synchronous sound holds the caller for its length, never much longer.
void ExpectSyncPlayTakesItsLength(ISoundOutput& output) {
    const QString apply = ShippedSounds + "apply.wav";
    const milliseconds length = WavLength(ReadAll(apply));
    ASSERT_GT(length.count(), 0);
    const milliseconds taken = TimeOf([&] { output.Play(apply, Mode::Sync); });
    EXPECT_GE(taken, length * 8 / 10);
    EXPECT_LE(taken, length + milliseconds(500));
}

// Requests that must not hold the caller: asynchronous ones, and files that cannot be read.
void ExpectQuickReturns(ISoundOutput& output, const TestFolder& folder) {
    folder.Write("garbage.wav", "RIFF but no sound in it");
    const std::vector<std::pair<QString, Mode>> requests = {
        {ShippedSounds + "winner.wav", Mode::Async},
        {folder.Path("missing.wav"), Mode::Sync},
        {folder.Path("garbage.wav"), Mode::Sync},
    };
    for (const auto& [path, mode] : requests)
        EXPECT_LT(TimeOf([&] { output.Play(path, mode); }), milliseconds(100))
            << path.toStdString();
    output.Stop();
}

} // namespace

// The length of a sound is its data bytes over its byte rate, past any chunk before the data.
TEST(WavLength, DataBytesOverByteRate) {
    EXPECT_EQ(WavLength(MakeWav(88200, 88200)), milliseconds(500));
    QByteArray list = "LIST";
    Append32(list, 3);
    list += "abc";
    list += '\0'; // odd chunks are padded to an even length
    EXPECT_EQ(WavLength(MakeWav(176400, 176400, list)), milliseconds(1000));
    const auto format = ReadWavFormat(MakeWav(4, 4, list));
    ASSERT_TRUE(format.has_value());
    EXPECT_EQ(format->AudioFormat, 1);
    EXPECT_EQ(format->Channels, 2);
    EXPECT_EQ(format->SampleRate, 44100);
    EXPECT_EQ(format->BitsPerSample, 16);
}

// A file cut short plays only what it holds, so a wait for it is no longer than that.
TEST(WavLength, CountsOnlyTheBytesPresent) {
    EXPECT_EQ(WavLength(MakeWav(0xFFFFFFFF, 44100)), milliseconds(250));
}

// Anything that is no readable WAVE file has no length, and reading it does not crash.
TEST(WavLength, GarbageHasNoLength) {
    QByteArray hugeChunk = "JUNK";
    Append32(hugeChunk, 0xFFFFFFF0);
    QByteArray zeroRate = MakeWav(100, 100);
    zeroRate.replace(28, 4, QByteArray(4, '\0'));
    const QByteArray cases[] = {
        {},
        "RIFF",
        QByteArray("RIFF\x24\0\0\0WAVE", 12),
        MakeWav(88200, 88200).left(30),
        QByteArray(64, '\xFF'),
        zeroRate,
        "RIFF\0\0\0\0WAVE" + hugeChunk,
    };
    for (const QByteArray& file : cases)
        EXPECT_EQ(WavLength(file), milliseconds(0)) << file.toHex().toStdString();
}

// The shipped sounds are 16-bit PCM WAVE files, the effects short and the music long
// enough to loop unnoticed; the length matches the file size of the canonical header.
TEST(ShippedSounds, AreShortSixteenBitPcm) {
    const QStringList effects = {"click1", "click2", "click3",   "apply",
                                 "winner", "loser",  "question", "send"};
    qint64 total = 0;
    for (const QString& name : effects + QStringList{"Herzeleid4bit"}) {
        const QByteArray file = ReadAll(ShippedSounds + name + ".wav");
        total += file.size();
        const auto format = ReadWavFormat(file);
        ASSERT_TRUE(format.has_value()) << name.toStdString();
        EXPECT_EQ(format->AudioFormat, 1) << name.toStdString();
        EXPECT_EQ(format->BitsPerSample, 16) << name.toStdString();
        EXPECT_EQ(WavLength(file), milliseconds((file.size() - 44) * 1000 / format->ByteRate));
        const milliseconds length = WavLength(file);
        if (name == "Herzeleid4bit") {
            EXPECT_GE(length, milliseconds(15000));
            EXPECT_LE(length, milliseconds(25000));
        } else {
            EXPECT_GT(length, milliseconds(0)) << name.toStdString();
            EXPECT_LT(length, milliseconds(2000)) << name.toStdString();
        }
    }
    EXPECT_LT(total, 2500 * 1024);
}

// Without an audio device the game is silent but keeps its rhythm, and reports nothing.
TEST(SdlSound, WithoutDeviceSynchronousSoundsStillTakeTheirTime) {
    AudioDriver none("nonexistent");
    TestFolder folder;
    TSdlSoundOutput output;
    EXPECT_FALSE(output.DeviceOpen());
    ExpectSyncPlayTakesItsLength(output);
    ExpectQuickReturns(output, folder);
}

// On a device, a synchronous sound is played to its end before the call returns.
TEST(SdlSound, OnDeviceSynchronousSoundsPlayToTheEnd) {
    AudioDriver dummy("dummy");
    TestFolder folder;
    TSdlSoundOutput output;
    ASSERT_TRUE(output.DeviceOpen());
    ExpectSyncPlayTakesItsLength(output);
    EXPECT_FALSE(output.Playing());
    ExpectQuickReturns(output, folder);
}

// A looping sound goes on past its length until stopped; an asynchronous one ends by itself.
TEST(SdlSound, LoopRunsUntilStopAndAsyncEndsAlone) {
    AudioDriver dummy("dummy");
    TSdlSoundOutput output;
    ASSERT_TRUE(output.DeviceOpen());
    const QString click = ShippedSounds + "click1.wav";
    output.Play(click, Mode::Loop);
    std::this_thread::sleep_for(WavLength(ReadAll(click)) * 4);
    EXPECT_TRUE(output.Playing());
    output.Stop();
    EXPECT_FALSE(output.Playing());

    output.Play(click, Mode::Async);
    EXPECT_TRUE(output.Playing());
    std::this_thread::sleep_for(WavLength(ReadAll(click)) + milliseconds(300));
    EXPECT_FALSE(output.Playing());
}

// The factory hands out a working output whether or not a device could be opened.
TEST(SdlSound, FactoryOutputKeepsTheRhythmWithoutDevice) {
    AudioDriver none("nonexistent");
    const auto output = OpenSoundOutput();
    ExpectSyncPlayTakesItsLength(*output);
}
