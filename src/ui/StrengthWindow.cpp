#include "ui/StrengthWindow.h"

#include "platform/TexturedLabel.h"
#include "settings/Settings.h"
#include "ui/MainWindow.h"
#include "ui/Skins.h"

#include <QLabel>
#include <QSlider>

TStrengthWindow* SetCPUWindow = nullptr;

namespace {

QLabel* MakeLabel(QWidget* parent, QRect geometry, Qt::Alignment alignment) {
    auto* label = new QLabel(parent);
    label->setGeometry(geometry);
    label->setAlignment(alignment);
    label->setStyleSheet("color: white");
    return label;
}

} // namespace

TStrengthWindow::TStrengthWindow(QWidget* parent) : TSkinnedDialog(parent, 292, 68) {
    SetCPUWindow = this;
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
    SuspendGameWhileActive(this);
}

void TStrengthWindow::showEvent(QShowEvent* event) {
    TSkinnedDialog::showEvent(event);
    ShowCaption();
    // Setting the position brings a strength outside 3..8 into range and takes it over.
    StrongBar->setValue(MainWindow->Game->Strength());
    StrongBarChange();
    Label1->setText(GetTextU("CPU_Label1"));
    Label2->setText(GetTextU("CPU_Label2"));
}

void TStrengthWindow::StrongBarChange() {
    MainWindow->Game->SetStrength(StrongBar->value());
    ShowCaption();
}

void TStrengthWindow::ShowCaption() {
    setWindowTitle(GetTextU("Menu_CPU") + " (" + QString::number(MainWindow->Game->Strength() - 2) +
                   ")");
}
