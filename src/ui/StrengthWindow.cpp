#include "ui/StrengthWindow.h"

#include "game/Game.h"
#include "platform/TexturedLabel.h"
#include "settings/Settings.h"

#include <QLabel>
#include <QSlider>

namespace {

QLabel* MakeLabel(QWidget* parent, QRect geometry, Qt::Alignment alignment) {
    auto* label = new QLabel(parent);
    label->setGeometry(geometry);
    label->setAlignment(alignment);
    label->setStyleSheet("color: white");
    return label;
}

} // namespace

TStrengthWindow::TStrengthWindow(TPresentation& look, TGame& game, QWidget* parent)
    : TSkinnedDialog(look, parent, 292, 68), game_(game) {
    StrengthBar = new QSlider(Qt::Horizontal, this);
    StrengthBar->setGeometry(8, 8, 220, 30);
    StrengthBar->setRange(3, 8);
    StrengthBar->setTickPosition(QSlider::TicksBelow);
    StrengthBar->setTickInterval(1);
    StrengthBar->setPageStep(1);
    WeakerLabel = MakeLabel(this, {8, 40, 100, 20}, Qt::AlignLeft | Qt::AlignVCenter);
    StrongerLabel = MakeLabel(this, {128, 40, 100, 20}, Qt::AlignRight | Qt::AlignVCenter);
    OkButton = MakeOkButton(240, 14);
    connect(StrengthBar, &QSlider::valueChanged, this, &TStrengthWindow::StrengthBarChange);
}

void TStrengthWindow::showEvent(QShowEvent* event) {
    TSkinnedDialog::showEvent(event);
    ShowCaption();
    // Setting the position brings a strength outside 3..8 into range and takes it over.
    StrengthBar->setValue(game_.Strength());
    StrengthBarChange();
    WeakerLabel->setText(GetTextU("CPU_Label1"));
    StrongerLabel->setText(GetTextU("CPU_Label2"));
}

void TStrengthWindow::StrengthBarChange() {
    game_.SetStrength(StrengthBar->value());
    ShowCaption();
}

void TStrengthWindow::ShowCaption() {
    setWindowTitle(GetTextU("Menu_CPU") + " (" + QString::number(game_.Strength() - 2) + ")");
}
