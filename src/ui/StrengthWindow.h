#pragma once
// The strength window: a track bar from 3 to 8, the longest word the computer may play.

#include "ui/SkinnedDialog.h"

class QSlider;
class QLabel;
class TTexturedButton;
class TGame;

class TStrengthWindow : public TSkinnedDialog {
    Q_OBJECT
public:
    // The bar shows and sets the strength of `game`.
    TStrengthWindow(TPresentation& look, TGame& game, QWidget* parent);

    QSlider* StrengthBar;
    QLabel* WeakerLabel;
    QLabel* StrongerLabel;
    TTexturedButton* OkButton;

    void StrengthBarChange();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void ShowCaption();

    TGame& game_;
};
