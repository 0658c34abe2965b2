#include "TestFolder.h"
#include "platform/SdlSound.h"
#include "platform/WavFile.h"

#include <QFile>
#include <QScopeGuard>
#include <QtEndian>
#include <gtest/gtest.h>

namespace {

using std::chrono::milliseconds;
using Mode = ISoundOutput::Mode;

const QString ShippedSounds = KORDI_SOURCE_DIR "/data/sounds/";

// `value` as its first `size` little-endian bytes.
QByteArray Le(quint32 value, int size) {
    QByteArray bytes(4, '\0');
    qToLittleEndian(value, bytes.data());
    return bytes.first(size);
}

// A 16-bit stereo 44.1 kHz WAVE file that declares `declared` data bytes, holds `present`
// of them, and has `extra` chunks between the format and the data. The RIFF size is 0, as
// it is not relied upon.
QByteArray MakeWav(quint32 declared, int present, const QByteArray& extra = {}) {
    return "RIFF" + Le(0, 4) + "WAVEfmt " + Le(16, 4) + Le(1, 2) + Le(2, 2) + Le(44100, 4) +
           Le(176400, 4) + Le(4, 2) + Le(16, 2) + extra + "data" + Le(declared, 4) +
           QByteArray(present, '\0');
}

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

// The length of a sound is the data bytes present over the byte rate, past any chunk before
// the data, so a file cut short is waited for no longer than it plays; anything that is no
// readable WAVE file has no length, and reading it does not crash.
TEST(WavLength, DataBytesPresentOverByteRate) {
    const QByteArray list = "LIST" + Le(3, 4) + "abc" + '\0'; // odd chunks are padded
    EXPECT_EQ(WavLength(MakeWav(88200, 88200)), milliseconds(500));
    EXPECT_EQ(WavLength(MakeWav(176400, 176400, list)), milliseconds(1000));
    EXPECT_EQ(WavLength(MakeWav(0xFFFFFFFF, 44100)), milliseconds(250));

    QByteArray zeroRate = MakeWav(100, 100);
    zeroRate.replace(28, 4, QByteArray(4, '\0'));
    for (const QByteArray& file : {QByteArray("RIFF"), MakeWav(88200, 88200).left(30), zeroRate,
                                   "RIFF" + Le(0, 4) + "WAVEJUNK" + Le(0xFFFFFFF0, 4)})
        EXPECT_EQ(WavLength(file), milliseconds(0)) << file.toHex().toStdString();
}

// With or without an audio device ("nonexistent" plays a machine without sound) the game
// knows how long each sound lasts; a file that cannot be read has no length and playing it
// does no harm.
TEST(SdlSound, LengthsAreKnownWithOrWithoutADevice) {
    const QByteArray saved = qgetenv("SDL_AUDIODRIVER");
    const auto restore = qScopeGuard([saved] {
        saved.isNull() ? qunsetenv("SDL_AUDIODRIVER") : qputenv("SDL_AUDIODRIVER", saved);
    });
    TestFolder folder;
    folder.Write("garbage.wav", "RIFF but no sound in it");
    const QString click = ShippedSounds + "click1.wav";
    for (const char* driver : {"nonexistent", "dummy"}) {
        qputenv("SDL_AUDIODRIVER", driver);
        TSdlSoundOutput output;
        EXPECT_EQ(output.DeviceOpen(), driver == std::string("dummy"));
        EXPECT_EQ(output.Length(click), WavLength(ReadAll(click)));
        for (const QString& path : {folder.Path("missing.wav"), folder.Path("garbage.wav")}) {
            output.Play(path, Mode::Async);
            EXPECT_EQ(output.Length(path), milliseconds(0)) << path.toStdString();
        }
        output.Stop();
    }
}
