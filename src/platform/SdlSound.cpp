#include "platform/SdlSound.h"

#include "platform/WavFile.h"

#include <QFile>
#include <SDL.h>
#include <SDL_mixer.h>

namespace {

using std::chrono::milliseconds;

// Every sound goes to the one channel, so a new sound replaces the one still playing.
constexpr int Channel = 0;

} // namespace

void TSdlSoundOutput::TChunkFree::operator()(Mix_Chunk* chunk) const {
    Mix_FreeChunk(chunk);
}

TSdlSoundOutput::TSdlSoundOutput() {
    // SDL's audio pulls in its event loop, which would take over Ctrl+C from the program.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
        return;
    if (Mix_OpenAudioDevice(MIX_DEFAULT_FREQUENCY, MIX_DEFAULT_FORMAT, MIX_DEFAULT_CHANNELS, 1024,
                            nullptr, SDL_AUDIO_ALLOW_ANY_CHANGE) != 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return;
    }
    Mix_AllocateChannels(1);
    int frequency = 0, channels = 0;
    Uint16 format = 0;
    Mix_QuerySpec(&frequency, &format, &channels);
    bytesPerSecond_ = frequency * channels * SDL_AUDIO_BITSIZE(format) / 8;
    deviceOpen_ = bytesPerSecond_ > 0;
}

TSdlSoundOutput::~TSdlSoundOutput() {
    if (!deviceOpen_)
        return;
    Mix_HaltChannel(-1);
    chunks_.clear(); // chunks must go before the device closes
    Mix_CloseAudio();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

void TSdlSoundOutput::Play(const QString& path, Mode mode) {
    if (!deviceOpen_)
        return;
    if (Mix_Chunk* chunk = Decoded(path))
        Mix_PlayChannel(Channel, chunk, mode == Mode::Loop ? -1 : 0);
}

milliseconds TSdlSoundOutput::Length(const QString& path) {
    auto found = lengths_.find(path);
    if (found == lengths_.end()) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return milliseconds(0);
        found = lengths_.emplace(path, WavLength(file.readAll())).first;
    }
    return found->second;
}

void TSdlSoundOutput::Stop() {
    if (deviceOpen_)
        Mix_HaltChannel(-1);
}

Mix_Chunk* TSdlSoundOutput::Decoded(const QString& path) {
    auto found = chunks_.find(path);
    if (found != chunks_.end())
        return found->second.get();
    // A file that fails is tried again next time: it may have been put right meanwhile.
    Mix_Chunk* chunk = Mix_LoadWAV(QFile::encodeName(path).constData());
    if (chunk)
        chunks_.emplace(path, TChunk(chunk));
    return chunk;
}

std::unique_ptr<ISoundOutput> OpenSoundOutput() {
    return std::make_unique<TSdlSoundOutput>();
}
