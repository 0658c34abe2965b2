#include "ui/SoundUnit.h"

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

void PlaySoundEffect(int index, bool synchronous) {
    const QString file = SoundFile(SoundNames[index]);
    if (!SoundSettings.SoundOn()) {
        if (synchronous)
            SoundSettings.WaitTicks(9);
        return;
    }
    Output()->Play(file, synchronous ? ISoundOutput::Mode::Sync : ISoundOutput::Mode::Async);
}

void PlayMusic(const QString& name) {
    if (SoundSettings.SoundOn())
        Output()->Play(SoundFile(name), ISoundOutput::Mode::Loop);
}

void StopSounds() {
    Output()->Stop();
}
