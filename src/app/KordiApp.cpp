#include "app/KordiApp.h"

#include "settings/RunData.h"
#include "ui/MainWindow.h"
#include "ui/Presentation.h"

TKordiApp::TKordiApp(std::unique_ptr<ISoundOutput> soundOutput)
    : data_(std::make_unique<TRunData>()), look_(std::make_unique<TPresentation>(data_->Texts)) {
    look_->Sounds.SetSoundOutput(std::move(soundOutput));
}

TKordiApp::~TKordiApp() = default;

TMainWindow& TKordiApp::CreateMainWindow(const std::function<void()>& progress) {
    mainWindow_ = std::make_unique<TMainWindow>(*look_, *data_, progress);
    return *mainWindow_;
}
