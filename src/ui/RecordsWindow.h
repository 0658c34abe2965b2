#pragma once
// The records window: the list of the current language and strength level, and the two
// buttons that clear it or every list after a question.

#include "settings/Records.h"
#include "ui/SkinnedDialog.h"

#include <functional>

class TCoolButton;
class TCoolLabel;
class QFrame;

// The list of the dictionary's current language and the computer's current strength level.
TWinnerList& CurrentWinners();
int CurrentLevel();

class TWinnersWindow : public TSkinnedDialog {
    Q_OBJECT
public:
    explicit TWinnersWindow(QWidget* parent = nullptr);
    ~TWinnersWindow() override;

    TCoolLabel* Bevel1;
    QFrame* Bevel2;
    TCoolButton* Button1;
    TCoolButton* Button2;
    TCoolButton* CoolOkbutton;
    // Column 1 the scores, column 2 the names; row 0 the best place.
    CheckedArray<CheckedArray<TCoolLabel*, 0, 9>, 1, 2> WinnerLabels;

    void FormActivate();
    void Button1Click();
    void Button2Click();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void CreateWinnerLabels();
    // Clears with `clear` after the player confirms with the button's caption.
    void ClearAfterQuestion(TCoolButton* button, const std::function<void()>& clear);
};

extern TWinnersWindow* WinnersWindow;
