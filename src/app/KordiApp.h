#pragma once
// The running program: it owns the parts of a run (the player's data, the look and sound of
// the windows, the main window) and hands each window the parts it needs.

#include "platform/ProgramFolder.h"

#include <functional>
#include <memory>

class IMessages;
class ISoundOutput;
class TMainWindow;
struct TPresentation;
struct TRunData;

class TKordiApp {
public:
    // Messages go to `messages`, which outlives the app; sounds go to `soundOutput`, and none
    // keeps the program silent.
    explicit TKordiApp(IMessages& messages, std::unique_ptr<ISoundOutput> soundOutput = nullptr);
    // The main window goes first, and with it every other window.
    ~TKordiApp();

    // Makes the parts of the run and the main window, which reads the player's files; a file
    // that cannot be made or read raises. `progress` is called at each step of the window's
    // creation.
    TMainWindow& CreateMainWindow(const std::function<void()>& progress);
    // The main window once made; none before.
    TMainWindow* MainWindow() const { return mainWindow_.get(); }

private:
    IMessages& messages_;
    const TProgramFolder folder_ = TProgramFolder::OfThisProgram();
    std::unique_ptr<ISoundOutput> soundOutput_;
    std::unique_ptr<TRunData> data_;
    std::unique_ptr<TPresentation> look_;
    std::unique_ptr<TMainWindow> mainWindow_;
};
