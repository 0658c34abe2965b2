#pragma once
// The chat window: the lines the two players type, and the log of the session: joins and
// leaves, new games, skipped turns, advice taken and results.

#include "ui/SkinnedDialog.h"

#include <QByteArray>

class QCheckBox;
class QLineEdit;
class QPlainTextEdit;
class TTexturedButton;
class TConnectionWindow;
class TNetGame;
struct TNetPlayFields;

class TChatWindow : public TSkinnedDialog {
    Q_OBJECT
public:
    static constexpr int MaxLines = 256;

    // The caption names this side as typed in the connection window and the peer of the
    // network game; without a network game (the window on its own) a line goes nowhere. The
    // pop-up box follows `fields` both ways.
    TChatWindow(TPresentation& look, TNetPlayFields& fields, const TConnectionWindow& connection,
                TNetGame* netGame = nullptr, QWidget* parent = nullptr);

    QPlainTextEdit* Memo;
    QLineEdit* Edit;
    TTexturedButton* SendButton;
    QCheckBox* AutoPopUpChatCheckBox;

    // Appends one log entry (code-page text); with the auto pop-up checked the window
    // comes up in front.
    void AddLine(const QByteArray& line);
    void SendButtonClick();
    // The caption names both players.
    void MemoChange();

protected:
    void showEvent(QShowEvent* event) override;
    // The key and focus handlers of the input line and the log.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool EditKeyPress(const QKeyEvent& key);

    const TConnectionWindow& connection_;
    TNetGame* netGame_;
};
