#include "app/KordiApp.h"

#include "ui/MainWindow.h"
#include "ui/Presentation.h"

TKordiApp::TKordiApp(std::unique_ptr<ISoundOutput> soundOutput)
    : look_(std::make_unique<TPresentation>()) {
    look_->Sounds.SetSoundOutput(std::move(soundOutput));
}

TKordiApp::~TKordiApp() = default;

TMainWindow& TKordiApp::CreateMainWindow(const std::function<void()>& progress) {
    mainWindow_ = std::make_unique<TMainWindow>(*look_, progress);
    return *mainWindow_;
}
