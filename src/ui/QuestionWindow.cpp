#include "ui/QuestionWindow.h"

#include "platform/TexturedLabel.h"
#include "settings/Settings.h"
#include "ui/Presentation.h"

#include <QLabel>
#include <algorithm>

namespace {

// The question's frame: its left and top edge, its width, and the height of one line.
constexpr QRect QuestionArea(15, 15, 270, 19);
constexpr int ButtonHeight = 35;
// Between the question and the buttons, and below the buttons.
constexpr int GapAbove = 16;
constexpr int GapBelow = 18;

} // namespace

TQuestionWindow::TQuestionWindow(TPresentation& look, QWidget* parent)
    : TSkinnedDialog(look, parent, 292, 103) {
    QuestionLabel = new QLabel(this);
    QuestionLabel->setGeometry(QuestionArea);
    QuestionLabel->setAlignment(Qt::AlignCenter);
    QuestionLabel->setWordWrap(true);
    QFont bold = QuestionLabel->font();
    bold.setBold(true);
    QuestionLabel->setFont(bold);
    QuestionLabel->setStyleSheet("color: white");
    YesButton = MakeAnswerButton(30, Yes);
    NoButton = MakeAnswerButton(170, No);
}

TTexturedButton* TQuestionWindow::MakeAnswerButton(int left, int answer) {
    auto* button =
        MakeButton(this, {left, QuestionArea.bottom() + 1 + GapAbove, 100, ButtonHeight}, true);
    connect(button, &TTexturedButton::Clicked, this, [this, answer] { done(answer); });
    return button;
}

void TQuestionWindow::showEvent(QShowEvent* event) {
    TSkinnedDialog::showEvent(event);
    Look().Sounds.PlaySoundEffect(SoundQuestion);
    setWindowTitle(caption_);
    QuestionLabel->setText(text_);
    FitQuestion();
    YesButton->SetCaption(GetTextU("Yes"));
    NoButton->SetCaption(GetTextU("No"));
}

void TQuestionWindow::FitQuestion() {
    const int questionHeight =
        std::max(QuestionArea.height(), QuestionLabel->heightForWidth(QuestionArea.width()));
    QuestionLabel->setGeometry(
        QuestionArea.adjusted(0, 0, 0, questionHeight - QuestionArea.height()));
    const int buttonsTop = QuestionLabel->geometry().bottom() + 1 + GapAbove;
    YesButton->move(YesButton->x(), buttonsTop);
    NoButton->move(NoButton->x(), buttonsTop);
    setFixedSize(width(), buttonsTop + ButtonHeight + GapBelow);
}

void TQuestionWindow::Ask(const QString& caption, const QString& text,
                          std::function<void(int)> answered) {
    caption_ = caption;
    text_ = text;
    connect(
        this, &QDialog::finished, this,
        [answered](int result) { answered(result == Yes || result == No ? result : 0); },
        Qt::SingleShotConnection);
    open();
}
