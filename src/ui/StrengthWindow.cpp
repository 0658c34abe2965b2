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
    StrongBar = new QSlider(Qt::Horizontal, this);
    StrongBar->setGeometry(8, 8, 220, 30);
    StrongBar->setRange(3, 8);
    StrongBar->setTickPosition(QSlider::TicksBelow);
    StrongBar->setTickInterval(1);
    StrongBar->setPageStep(1);
    Label1 = MakeLabel(this, {8, 40, 100, 20}, Qt::AlignLeft | Qt::AlignVCenter);
    Label2 = MakeLabel(this, {128, 40, 100, 20}, Qt::AlignRight | Qt::AlignVCenter);
    CoolOKButton = MakeOkButton(240, 14);
    connect(StrongBar, &QSlider::valueChanged, this, &TStrengthWindow::StrongBarChange);
}

void TStrengthWindow::showEvent(QShowEvent* event) {
    TSkinnedDialog::showEvent(event);
    ShowCaption();
    // Setting the position brings a strength outside 3..8 into range and takes it over.
    StrongBar->setValue(game_.Strength());
    StrongBarChange();
    Label1->setText(GetTextU("CPU_Label1"));
    Label2->setText(GetTextU("CPU_Label2"));
}

void TStrengthWindow::StrongBarChange() {
    game_.SetStrength(StrongBar->value());
    ShowCaption();
}

void TStrengthWindow::ShowCaption() {
    setWindowTitle(GetTextU("Menu_CPU") + " (" + QString::number(game_.Strength() - 2) + ")");
}
