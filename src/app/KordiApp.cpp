#include "app/KordiApp.h"

#include "ui/MainWindow.h"

TKordiApp::TKordiApp() = default;

TKordiApp::~TKordiApp() = default;

TMainWindow& TKordiApp::CreateMainWindow(const std::function<void()>& progress) {
    mainWindow_ = std::make_unique<TMainWindow>(progress);
    return *mainWindow_;
}
