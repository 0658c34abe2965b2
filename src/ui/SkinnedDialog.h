#pragma once
// The base of the program's smaller windows: a fixed-size dialog that tiles the skin's
// window background behind its controls.

#include <QDialog>

class TCoolButton;

class TSkinnedDialog : public QDialog {
    Q_OBJECT
public:
    TSkinnedDialog(QWidget* parent, int clientWidth, int clientHeight);

protected:
    void paintEvent(QPaintEvent* event) override;
    // The 40 by 40 "OK" button that closes the window with the OK result.
    TCoolButton* MakeOkButton(int left, int top);
};

// Keeps right clicks from reaching the game while `window` is active: the strength,
// question, records and result windows clear MainActive while they are active.
void SuspendGameWhileActive(QWidget* window);
