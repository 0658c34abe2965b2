// The windows the main window opens: each made once, after the main window, and handed the
// parts of the program it works on.

#include "settings/RunData.h"
#include "ui/AboutWindow.h"
#include "ui/ChatWindow.h"
#include "ui/ConnectionWindow.h"
#include "ui/MainWindow.h"
#include "ui/QuestionWindow.h"
#include "ui/RecordsWindow.h"
#include "ui/ResultWindow.h"
#include "ui/StrengthWindow.h"
#include "ui/TexturesWindow.h"

#include <QAction>

void TMainWindow::CreateConnectionWindow() {
    ConfigForm = new TConnectionWindow(look_, data_.NetPlay, this);
    connect(ConfigForm, &TConnectionWindow::Connected, this, [this](int state) {
        NetGame->SetNetState(state);
        ShowConnected();
        // The joiner opens the first game; its start word and language go to the peer.
        if (state == 2)
            StartGame(true);
    });
}

void TMainWindow::CreateChatWindow() {
    ChatWindow = new TChatWindow(look_, data_.NetPlay, *ConfigForm, NetGame, this);
}

void TMainWindow::CreateTexturesWindow() {
    ImagesWindow = new TTexturesWindow(look_, this);
    connect(Menu_Textures, &QAction::triggered, ImagesWindow, &QDialog::open);
}

void TMainWindow::CreateStrengthWindow() {
    SetCPUWindow = new TStrengthWindow(look_, *Game, this);
    SuspendGameWhileActive(SetCPUWindow, MainActive);
}

void TMainWindow::CreateQuestionWindow() {
    ChoiceWindow = new TQuestionWindow(look_, this);
    SuspendGameWhileActive(ChoiceWindow, MainActive);
}

void TMainWindow::CreateRecordsWindow() {
    WinnersWindow = new TRecordsWindow(look_, data_.Winners, *Game, *ChoiceWindow, this);
    SuspendGameWhileActive(WinnersWindow, MainActive);
    connect(Menu_Records, &QAction::triggered, WinnersWindow, &QDialog::open);
}

void TMainWindow::CreateAboutWindow() {
    AboutForm = new TAboutWindow(look_, this);
    connect(Menu_About, &QAction::triggered, AboutForm, &QDialog::open);
}

void TMainWindow::CreateResultWindow() {
    AddRatingWindow = new TResultWindow(look_, data_.Winners, *Game, this);
    SuspendGameWhileActive(AddRatingWindow, MainActive);
}

void TMainWindow::ShowGameResult(std::function<void()> then) {
    connect(
        AddRatingWindow, &QDialog::finished, this,
        [this, then] {
            connect(WinnersWindow, &QDialog::finished, this, then, Qt::SingleShotConnection);
            WinnersWindow->open();
        },
        Qt::SingleShotConnection);
    AddRatingWindow->open();
}
