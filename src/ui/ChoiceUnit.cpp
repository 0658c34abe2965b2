#include "ui/ChoiceUnit.h"

#include "platform/CoolLabel.h"
#include "settings/INIUnit.h"
#include "ui/ImagesUnit.h"
#include "ui/SoundUnit.h"

#include <QLabel>

QString QuestionCaption;
QString QuestionText;
TChoiceWindow* ChoiceWindow = nullptr;

namespace {

TCoolButton* MakeButton(QWidget* parent, int left, int result, TChoiceWindow* window) {
    auto* button = new TCoolButton(parent);
    button->setGeometry(left, 50, 100, 35);
    QFont bold = button->font();
    bold.setBold(true);
    button->setFont(bold);
    button->SetFontColor(Qt::white);
    QObject::connect(button, &TCoolButton::Clicked, window,
                     [window, result] { window->done(result); });
    return button;
}

} // namespace

TChoiceWindow::TChoiceWindow(QWidget* parent) : TSkinnedDialog(parent, 292, 103) {
    ChoiceWindow = this;
    QuestionLabel = new QLabel(this);
    QuestionLabel->setGeometry(15, 15, 270, 19);
    QuestionLabel->setAlignment(Qt::AlignCenter);
    QFont bold = QuestionLabel->font();
    bold.setBold(true);
    QuestionLabel->setFont(bold);
    QuestionLabel->setStyleSheet("color: white");
    YesButton = MakeButton(this, 30, Yes, this);
    NoButton = MakeButton(this, 170, No, this);
    AddButtonFace(YesButton);
    AddButtonFace(NoButton);
    SuspendGameWhileActive(this);
}

void TChoiceWindow::showEvent(QShowEvent* event) {
    TSkinnedDialog::showEvent(event);
    PlaySoundEffect(SoundQuestion);
    setWindowTitle(QuestionCaption);
    QuestionLabel->setText(QuestionText);
    YesButton->SetCaption(GetTextU("Yes"));
    NoButton->SetCaption(GetTextU("No"));
}

void AskQuestion(const QString& caption, const QString& text, std::function<void(int)> answered) {
    QuestionCaption = caption;
    QuestionText = text;
    QObject::connect(
        ChoiceWindow, &QDialog::finished, ChoiceWindow,
        [answered](int result) {
            answered(result == TChoiceWindow::Yes || result == TChoiceWindow::No ? result : 0);
        },
        Qt::SingleShotConnection);
    ChoiceWindow->open();
}
