#include "ui/SoundEffects.h"

#include "platform/Checked.h"
#include "platform/ProgramFolder.h"

TSoundSettings SoundSettings;

namespace {

const CheckedArray<const char*, 0, 7> SoundNames = [] {
    CheckedArray<const char*, 0, 7> names;
    const char* list[] = {"click1", "click2", "click3",   "apply",
                          "winner", "loser",  "question", "send"};
    for (int i = 0; i <= 7; ++i)
        names[i] = list[i];
    return names;
}();

// Until a device is opened the game is silent; waited-for sounds then pass at once.
class TSilentOutput : public ISoundOutput {
public:
    void Play(const QString&, Mode) override {}
    std::chrono::milliseconds Length(const QString&) override { return {}; }
    void Stop() override {}
};

std::unique_ptr<ISoundOutput>& Output() {
    static std::unique_ptr<ISoundOutput> output = std::make_unique<TSilentOutput>();
    return output;
}

} // namespace

void SetSoundOutput(std::unique_ptr<ISoundOutput> output) {
    Output() = output ? std::move(output) : std::make_unique<TSilentOutput>();
}

ISoundOutput* SoundOutput() {
    return Output().get();
}

// Sounds lie in the program's own folder, wherever it was started from.
QString SoundFile(const QString& name) {
    return ProgramFolder::File("sounds/" + name + ".wav");
}

void PlaySoundEffect(int index) {
    if (SoundSettings.SoundOn())
        Output()->Play(SoundFile(SoundNames[index]), ISoundOutput::Mode::Async);
}

int PlayWaitedSound(int index) {
    if (!SoundSettings.SoundOn())
        return SilentPauseMs;
    const QString file = SoundFile(SoundNames[index]);
    Output()->Play(file, ISoundOutput::Mode::Async);
    return static_cast<int>(Output()->Length(file).count());
}

void PlayMusic(const QString& name) {
    if (SoundSettings.SoundOn())
        Output()->Play(SoundFile(name), ISoundOutput::Mode::Loop);
}

void StopSounds() {
    Output()->Stop();
}
