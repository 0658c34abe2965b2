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

TTexturedButton* MakeButton(QWidget* parent, int left, int result, TQuestionWindow* window) {
    auto* button = new TTexturedButton(parent);
    button->setGeometry(left, QuestionArea.bottom() + 1 + GapAbove, 100, ButtonHeight);
    QFont bold = button->font();
    bold.setBold(true);
    button->setFont(bold);
    button->SetFontColor(Qt::white);
    QObject::connect(button, &TTexturedButton::Clicked, window,
                     [window, result] { window->done(result); });
    return button;
}

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
    YesButton = MakeButton(this, 30, Yes, this);
    NoButton = MakeButton(this, 170, No, this);
    AddButtonFace(YesButton);
    AddButtonFace(NoButton);
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
