#pragma once
// The result entry window: at the end of a game against the computer it tells the person
// the result, asks for a name when the result earns a place in the records table, and
// hands the result to the table when it closes. Meanwhile the computer's face laughs when
// it won and looks sad otherwise.

#include "ui/SkinnedDialog.h"

#include <functional>

class TTexturedButton;
class TTexturedLabel;
class QLabel;
class QLineEdit;
class QTimer;

// True while the laughing face runs.
extern bool FaceAnimating;
// The step of the laughing face; it goes on from where the last showing left it.
extern quint16 FaceStep;

class TResultWindow : public TSkinnedDialog {
    Q_OBJECT
public:
    explicit TResultWindow(QWidget* parent = nullptr);
    ~TResultWindow() override;

    QLabel* CoolLabel3;
    TTexturedLabel* CreditLabel;
    TTexturedLabel* CoolLabel2;
    QLineEdit* Edit1;
    TTexturedButton* CoolOkButton;
    QTimer* Timer;

    void FormActivate();
    void FormDeactivate();
    void TimerTimer();

protected:
    void showEvent(QShowEvent* event) override;

private:
    // The next showing is a new result's.
    bool freshResult_ = true;
};

extern TResultWindow* AddRatingWindow;

// The person's score minus the opponent's in the game that just ended.
int GameResult();

// The end of a game against the computer: the result window, then the records window, each
// opened when the one before has closed; `then` runs when the records window closes.
void ShowGameResult(std::function<void()> then);
