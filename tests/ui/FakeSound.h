#pragma once
// A sound output that records what the game asked of it, installed for one test.

#include "ui/SoundEffects.h"

#include <QString>
#include <utility>
#include <vector>

class TFakeSound : public ISoundOutput {
public:
    using TRequest = std::pair<QString, Mode>;

    void Play(const QString& path, Mode mode) override { Played.emplace_back(path, mode); }
    std::chrono::milliseconds Length(const QString&) override { return LengthOfEach; }
    void Stop() override { ++Stops; }

    std::vector<TRequest> Played;
    std::chrono::milliseconds LengthOfEach{0};
    int Stops = 0;
};

// Installs a fresh recording output and the given switch in `sounds`; puts back a silent
// output and the switch before at the end of the test.
class FakeSoundScope {
public:
    explicit FakeSoundScope(TSoundEffects& sounds, bool soundOn = true)
        : sounds_(sounds), saved_(sounds.SoundOn) {
        auto fake = std::make_unique<TFakeSound>();
        sound_ = fake.get();
        sounds_.SetSoundOutput(std::move(fake));
        SetSoundOn(soundOn);
    }
    ~FakeSoundScope() {
        sounds_.SetSoundOutput(nullptr);
        sounds_.SoundOn = saved_;
    }
    FakeSoundScope(const FakeSoundScope&) = delete;
    FakeSoundScope& operator=(const FakeSoundScope&) = delete;

    TFakeSound& Sound() const { return *sound_; }
    void SetSoundOn(bool on) {
        sounds_.SoundOn = [on] { return on; };
    }

private:
    TSoundEffects& sounds_;
    std::function<bool()> saved_;
    TFakeSound* sound_ = nullptr;
};
