#pragma once
// The program's one yes/no question window: Ask opens it with a caption and a question, and
// the answer comes when it closes: 6 yes, 7 no.

#include "ui/SkinnedDialog.h"

#include <functional>

class TTexturedButton;
class QLabel;

class TQuestionWindow : public TSkinnedDialog {
    Q_OBJECT
public:
    static constexpr int Yes = 6;
    static constexpr int No = 7;

    explicit TQuestionWindow(TPresentation& look, QWidget* parent = nullptr);

    TTexturedButton* YesButton;
    TTexturedButton* NoButton;
    QLabel* QuestionLabel;

    // Opens the window and answers through `answered` once it closes: 6 yes, 7 no, 0 closed
    // otherwise.
    void Ask(const QString& caption, const QString& text, std::function<void(int)> answered);

protected:
    void showEvent(QShowEvent* event) override;

private:
    // The question wraps within the label's width; the label grows to hold every line, and
    // the buttons and the window follow it.
    void FitQuestion();
    // A Yes or No button that closes the window with `answer`.
    TTexturedButton* MakeAnswerButton(int left, int answer);

    QString caption_;
    QString text_;
};
