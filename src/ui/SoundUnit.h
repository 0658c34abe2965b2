#pragma once
// Sound effects of game events. The output device sits behind a small interface so that
// tests can record what was asked for.

#include <QString>
#include <functional>
#include <memory>

enum SoundEffect {
    SoundClick1 = 0,
    SoundClick2 = 1,
    SoundClick3 = 2,
    SoundApply = 3,
    SoundWinner = 4,
    SoundLoser = 5,
    SoundQuestion = 6,
    SoundSend = 7,
};

class ISoundOutput {
public:
    enum class Mode { Async, Sync, Loop };
    virtual ~ISoundOutput() = default;
    virtual void Play(const QString& path, Mode mode) = 0;
    virtual void Stop() = 0;
};

struct TSoundSettings {
    // The check mark of the Sound menu item.
    std::function<bool()> SoundOn = [] { return true; };
    // Waits n ticks of the main timer while the window goes on; stands in for a waited-for
    // sound when sound is off.
    std::function<void(int)> WaitTicks = [](int) {};
};

extern TSoundSettings SoundSettings;

// Replaces the output device; the program keeps it until the next call.
void SetSoundOutput(std::unique_ptr<ISoundOutput> output);
ISoundOutput* SoundOutput();

QString SoundFile(const QString& name);
void PlaySoundEffect(int index, bool synchronous);
