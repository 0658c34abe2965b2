#pragma once
// The program's one yes/no question window. The caller sets QuestionCaption and
// QuestionText and opens it; the answer comes when it closes: 6 yes, 7 no.

#include "ui/SkinnedDialog.h"

#include <functional>

class TTexturedButton;
class QLabel;

extern QString QuestionCaption;
extern QString QuestionText;

class TQuestionWindow : public TSkinnedDialog {
    Q_OBJECT
public:
    static constexpr int Yes = 6;
    static constexpr int No = 7;

    explicit TQuestionWindow(QWidget* parent = nullptr);

    TTexturedButton* YesButton;
    TTexturedButton* NoButton;
    QLabel* QuestionLabel;

protected:
    void showEvent(QShowEvent* event) override;

private:
    // The question wraps within the label's width; the label grows to hold every line, and
    // the buttons and the window follow it.
    void FitQuestion();
};

extern TQuestionWindow* ChoiceWindow;

// Opens the one question window and answers through `answered` once it closes: 6 yes,
// 7 no, 0 closed otherwise.
void AskQuestion(const QString& caption, const QString& text, std::function<void(int)> answered);
