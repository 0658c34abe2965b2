#include "app/KordiApp.h"

#include "platform/SoundOutput.h"
#include "settings/RunData.h"
#include "ui/MainWindow.h"
#include "ui/Presentation.h"

TKordiApp::TKordiApp(IMessages& messages, std::unique_ptr<ISoundOutput> soundOutput)
    : messages_(messages), soundOutput_(std::move(soundOutput)) {}

TKordiApp::~TKordiApp() = default;

// The settings file's copy for the player is made here, inside the start-up, which shows
// the error of a copy that cannot be made.
TMainWindow& TKordiApp::CreateMainWindow(const std::function<void()>& progress) {
    data_ = std::make_unique<TRunData>(folder_);
    look_ = std::make_unique<TPresentation>(data_->Texts, folder_, messages_);
    look_->Sounds.SetSoundOutput(std::move(soundOutput_));
    mainWindow_ = std::make_unique<TMainWindow>(*look_, *data_, progress);
    return *mainWindow_;
}
