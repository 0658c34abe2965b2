#pragma once
// The running program: it owns the parts of a run and hands each window the parts it needs.

#include <functional>
#include <memory>

class TMainWindow;

class TKordiApp {
public:
    TKordiApp();
    // The main window goes first, and with it every other window.
    ~TKordiApp();

    // Makes the main window; `progress` is called at each step of its creation.
    TMainWindow& CreateMainWindow(const std::function<void()>& progress);
    // The main window once made; none before.
    TMainWindow* MainWindow() const { return mainWindow_.get(); }

private:
    std::unique_ptr<TMainWindow> mainWindow_;
};
