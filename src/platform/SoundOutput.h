#pragma once
// Where the game's sounds go: a device, or a recording stand-in in tests.

#include <QString>

class ISoundOutput {
public:
    enum class Mode {
        Async, // returns at once; cuts off whatever still plays
        Sync,  // returns when the sound has ended
        Loop,  // repeats until Stop or the next sound
    };
    virtual ~ISoundOutput() = default;
    // A file that cannot be read plays nothing, and a synchronous request then returns at once.
    virtual void Play(const QString& path, Mode mode) = 0;
    // Silences everything that plays.
    virtual void Stop() = 0;
};
