#pragma once
// The records window: the list of the current language and strength level, and the two
// buttons that clear it or every list after a question.

#include "settings/Records.h"
#include "ui/SkinnedDialog.h"

#include <functional>

class TTexturedButton;
class TTexturedLabel;
class QFrame;
class TGame;
class TQuestionWindow;

// The list of the dictionary's current language and the game's current strength level.
TWinnerList& CurrentWinners(TRunWinners& winners, const TGame& game);
int CurrentLevel(const TGame& game);

class TRecordsWindow : public TSkinnedDialog {
    Q_OBJECT
public:
    // Shows the lists of `winners` for `game`'s strength; clearing asks through `question`
    // first.
    TRecordsWindow(TPresentation& look, TRunWinners& winners, const TGame& game,
                   TQuestionWindow& question, QWidget* parent);

    TTexturedLabel* TablePanel;
    QFrame* ColumnDivider;
    TTexturedButton* ClearListButton;
    TTexturedButton* ClearAllButton;
    TTexturedButton* OkButton;
    // Column 1 the scores, column 2 the names; row 0 the best place.
    CheckedArray<CheckedArray<TTexturedLabel*, 0, 9>, 1, 2> WinnerLabels;

    void ShowList();
    void ClearListButtonClick();
    void ClearAllButtonClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void CreateWinnerLabels();
    // Clears with `clear` after the player confirms with the button's caption.
    void ClearAfterQuestion(TTexturedButton* button, const std::function<void()>& clear);

    TRunWinners& winners_;
    const TGame& game_;
    TQuestionWindow& question_;
};
