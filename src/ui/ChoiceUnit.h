#pragma once
// The program's one yes/no question window. The caller sets QuestionCaption and
// QuestionText, shows it modally and reads the result: 6 yes, 7 no.

#include "ui/SkinnedDialog.h"

class TCoolButton;
class QLabel;

extern QString QuestionCaption;
extern QString QuestionText;

class TChoiceWindow : public TSkinnedDialog {
    Q_OBJECT
public:
    static constexpr int Yes = 6;
    static constexpr int No = 7;

    explicit TChoiceWindow(QWidget* parent = nullptr);

    TCoolButton* YesButton;
    TCoolButton* NoButton;
    QLabel* QuestionLabel;

protected:
    void showEvent(QShowEvent* event) override;

private:
    // The question wraps within the label's width; the label grows to hold every line, and
    // the buttons and the window follow it.
    void FitQuestion();
};

extern TChoiceWindow* ChoiceWindow;

// Asks the question through the one question window: 6 yes, 7 no, 0 closed otherwise.
int AskQuestion(const QString& caption, const QString& text);
