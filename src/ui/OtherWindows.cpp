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
    ConnectionWindow = new TConnectionWindow(look_, data_.NetPlay, this);
    connect(ConnectionWindow, &TConnectionWindow::Connected, this, [this](int state) {
        NetGame->SetNetState(state);
        ShowConnected();
        // The joiner opens the first game; its start word and language go to the peer.
        if (state == 2)
            StartGame(true);
    });
}

void TMainWindow::CreateChatWindow() {
    ChatWindow = new TChatWindow(look_, data_.NetPlay, *ConnectionWindow, NetGame, this);
}

void TMainWindow::CreateTexturesWindow() {
    TexturesWindow = new TTexturesWindow(look_, this);
    connect(Menu_Textures, &QAction::triggered, TexturesWindow, &QDialog::open);
}

void TMainWindow::CreateStrengthWindow() {
    StrengthWindow = new TStrengthWindow(look_, *Game, this);
    SuspendGameWhileActive(StrengthWindow, MainActive);
}

void TMainWindow::CreateQuestionWindow() {
    QuestionWindow = new TQuestionWindow(look_, this);
    SuspendGameWhileActive(QuestionWindow, MainActive);
}

void TMainWindow::CreateRecordsWindow() {
    RecordsWindow = new TRecordsWindow(look_, data_.Winners, *Game, *QuestionWindow, this);
    SuspendGameWhileActive(RecordsWindow, MainActive);
    connect(Menu_Records, &QAction::triggered, RecordsWindow, &QDialog::open);
}

void TMainWindow::CreateAboutWindow() {
    AboutWindow = new TAboutWindow(look_, this);
    connect(Menu_About, &QAction::triggered, AboutWindow, &QDialog::open);
}

void TMainWindow::CreateResultWindow() {
    ResultWindow = new TResultWindow(look_, data_.Winners, *Game, this);
    SuspendGameWhileActive(ResultWindow, MainActive);
}

void TMainWindow::ShowGameResult(std::function<void()> then) {
    connect(
        ResultWindow, &QDialog::finished, this,
        [this, then] {
            connect(RecordsWindow, &QDialog::finished, this, then, Qt::SingleShotConnection);
            RecordsWindow->open();
        },
        Qt::SingleShotConnection);
    ResultWindow->open();
}
