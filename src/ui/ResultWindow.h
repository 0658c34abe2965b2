#pragma once
// The result entry window: at the end of a game against the computer it tells the person
// the result, asks for a name when the result earns a place in the records table, and
// hands the result to the table when it closes. Meanwhile the computer's face laughs when
// it won and looks sad otherwise.

#include "ui/SkinnedDialog.h"

class TTexturedButton;
class TTexturedLabel;
class QLabel;
class QLineEdit;
class QTimer;
class TGame;
struct TRunWinners;

class TResultWindow : public TSkinnedDialog {
    Q_OBJECT
public:
    // Shows the result of the game that just ended in `game`, and its face, and files it in
    // `winners`.
    TResultWindow(TPresentation& look, TRunWinners& winners, TGame& game, QWidget* parent);

    QLabel* NoPlaceLabel;
    TTexturedLabel* CreditLabel;
    TTexturedLabel* NameLabel;
    QLineEdit* NameEdit;
    TTexturedButton* OkButton;
    QTimer* FaceTimer;
    // True while the laughing face runs.
    bool FaceAnimating = false;
    // The step of the laughing face; it goes on from where the last showing left it.
    quint16 FaceStep = 0;

    void ShowResult();
    void FileResult();
    void NextFace();

protected:
    void showEvent(QShowEvent* event) override;

private:
    // The next showing is a new result's.
    bool freshResult_ = true;
    TRunWinners& winners_;
    TGame& game_;
};

// The person's score minus the opponent's in the game that just ended.
int GameResult(const TGame& game);
