#pragma once
// Where the game's sounds go: a device, or a recording stand-in in tests.

#include <QString>
#include <chrono>

class ISoundOutput {
public:
    enum class Mode {
        Async, // returns at once; cuts off whatever still plays
        Loop,  // repeats until Stop or the next sound
    };
    virtual ~ISoundOutput() = default;
    // Never waits; a file that cannot be read plays nothing.
    virtual void Play(const QString& path, Mode mode) = 0;
    // How long the file plays; zero when it cannot be read.
    virtual std::chrono::milliseconds Length(const QString& path) = 0;
    // Silences everything that plays.
    virtual void Stop() = 0;
};
