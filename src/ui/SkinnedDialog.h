#pragma once
// The base of the program's smaller windows: a fixed-size dialog that tiles the skin's
// window background behind its controls. It takes part in every ApplySkins.

#include <QDialog>
#include <vector>

class TTexturedButton;
class TTexturedLabel;
struct TPresentation;

class TSkinnedDialog : public QDialog {
    Q_OBJECT
public:
    // The window wears the skins of `look` and plays its sounds.
    TSkinnedDialog(TPresentation& look, QWidget* parent, int clientWidth, int clientHeight);

protected:
    // The face takes the skin's button picture now and after every change of the skin.
    void AddButtonFace(TTexturedLabel* face);
    void paintEvent(QPaintEvent* event) override;
    // A button on `parent` (this window or one of its pages) with white text on the skin's
    // button face, which follows every change of the skin.
    TTexturedButton* MakeButton(QWidget* parent, QRect geometry, bool bold = false);
    // A line of white text straight on the window's background; bold when asked.
    TTexturedLabel* MakeCaption(QRect geometry, bool bold = false);
    // The 40 by 40 "OK" button that closes the window with the OK result.
    TTexturedButton* MakeOkButton(int left, int top);
    TPresentation& Look() const { return look_; }
    // The text of the key in the current language, decoded for display.
    QString GetTextU(QByteArrayView key) const;

private:
    TPresentation& look_;
    std::vector<TTexturedLabel*> buttonFaces_;
};

// Keeps right clicks from reaching the game while `window` is active: `mainActive` is 0
// while it is shown and active, 1 once it is hidden or another window is active.
void SuspendGameWhileActive(QWidget* window, quint8& mainActive);
