#include "ui/SoundEffects.h"

#include "platform/Checked.h"
#include "platform/ProgramFolder.h"

namespace {

const CheckedArray<const char*, 0, 7> SoundNames = [] {
    CheckedArray<const char*, 0, 7> names;
    const char* list[] = {"click1", "click2", "click3",   "apply",
                          "winner", "loser",  "question", "send"};
    for (int i = 0; i <= 7; ++i)
        names[i] = list[i];
    return names;
}();

class TSilentOutput : public ISoundOutput {
public:
    void Play(const QString&, Mode) override {}
    std::chrono::milliseconds Length(const QString&) override { return {}; }
    void Stop() override {}
};

} // namespace

TSoundEffects::TSoundEffects(const TProgramFolder& folder)
    : soundsFolder_(folder.File("sounds/")), output_(std::make_unique<TSilentOutput>()) {}

TSoundEffects::~TSoundEffects() = default;

void TSoundEffects::SetSoundOutput(std::unique_ptr<ISoundOutput> output) {
    output_ = output ? std::move(output) : std::make_unique<TSilentOutput>();
}

// Sounds lie in the program's own folder, wherever it was started from.
QString TSoundEffects::SoundFile(const QString& name) const {
    return soundsFolder_ + name + ".wav";
}

void TSoundEffects::PlaySoundEffect(int index) {
    if (SoundOn())
        output_->Play(SoundFile(SoundNames[index]), ISoundOutput::Mode::Async);
}

int TSoundEffects::PlayWaitedSound(int index) {
    if (!SoundOn())
        return SilentPauseMs;
    const QString file = SoundFile(SoundNames[index]);
    output_->Play(file, ISoundOutput::Mode::Async);
    return static_cast<int>(output_->Length(file).count());
}

void TSoundEffects::PlayMusic(const QString& name) {
    if (SoundOn())
        output_->Play(SoundFile(name), ISoundOutput::Mode::Loop);
}

void TSoundEffects::StopSounds() {
    output_->Stop();
}
