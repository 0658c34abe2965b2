#pragma once
// Sound effects of game events. The output device sits behind a small interface so that
// tests can record what was asked for.

#include "platform/SoundOutput.h"

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

// How long a waited-for sound holds the game while sound is off.
inline constexpr int SilentPauseMs = 900;

class TProgramFolder;

// The output device and the sound switch. Until a device is given the game is silent, and
// waited-for sounds pass at once.
class TSoundEffects {
public:
    // The sounds come from the program folder's "sounds".
    explicit TSoundEffects(const TProgramFolder& folder);
    ~TSoundEffects();

    // The program folder's "sounds/" + name + ".wav".
    QString SoundFile(const QString& name) const;

    // The check mark of the Sound menu item.
    std::function<bool()> SoundOn = [] { return true; };

    // Replaces the output device; it is kept until the next call. Null silences.
    void SetSoundOutput(std::unique_ptr<ISoundOutput> output);
    // Plays the effect and returns at once; nothing while sound is off.
    void PlaySoundEffect(int index);
    // Plays an effect the game waits for and returns how long to wait, in ms: the sound's
    // length, or SilentPauseMs while sound is off.
    int PlayWaitedSound(int index);
    // Loops the sound file of that name (see SoundFile) while the sound switch is on.
    void PlayMusic(const QString& name);
    // Silences the sound effect or music that plays.
    void StopSounds();

private:
    QString soundsFolder_;
    std::unique_ptr<ISoundOutput> output_;
};
