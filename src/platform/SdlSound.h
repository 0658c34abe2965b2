#pragma once
// Sound output on SDL_mixer. One sound plays at a time, as the game expects: each new one
// cuts off the last. Without an audio device the output stays silent, and a sound's length
// is still read from its file, so the game keeps its rhythm.

#include "platform/SoundOutput.h"

#include <chrono>
#include <map>
#include <memory>

struct Mix_Chunk;

class TSdlSoundOutput : public ISoundOutput {
public:
    // Opens the default audio device (SDL's choice, or the SDL_AUDIODRIVER one).
    TSdlSoundOutput();
    ~TSdlSoundOutput() override;
    TSdlSoundOutput(const TSdlSoundOutput&) = delete;
    TSdlSoundOutput& operator=(const TSdlSoundOutput&) = delete;

    void Play(const QString& path, Mode mode) override;
    std::chrono::milliseconds Length(const QString& path) override;
    void Stop() override;
    bool DeviceOpen() const { return deviceOpen_; }

private:
    struct TChunkFree {
        void operator()(Mix_Chunk* chunk) const;
    };
    using TChunk = std::unique_ptr<Mix_Chunk, TChunkFree>;

    Mix_Chunk* Decoded(const QString& path);

    bool deviceOpen_ = false;
    int bytesPerSecond_ = 0;
    // Decoded once per file: a sound is played many times a game.
    std::map<QString, TChunk> chunks_;
    std::map<QString, std::chrono::milliseconds> lengths_;
};

// The program's sound output; only one may be open at a time.
std::unique_ptr<ISoundOutput> OpenSoundOutput();
