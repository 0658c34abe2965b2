#include "net/SerialCableDialog.h"

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QPushButton>
#include <QSerialPortInfo>

TSerialCableDialog::TSerialCableDialog(const std::optional<TSerialCableSetting>& offered,
                                       QWidget* parent)
    : QDialog(parent) {
    setWindowTitle("Serial cable");
    PortBox = new QComboBox(this);
    PortBox->setEditable(true);
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
        PortBox->addItem(info.portName());
    SpeedBox = new QComboBox(this);
    for (qint32 speed : Speeds)
        SpeedBox->addItem(QString::number(speed), speed);
    const TSerialCableSetting last = offered.value_or(TSerialCableSetting{});
    if (offered)
        PortBox->setCurrentText(last.PortName);
    SpeedBox->setCurrentIndex(std::max(0, SpeedBox->findData(last.BaudRate)));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    OkButton = buttons->button(QDialogButtonBox::Ok);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    const auto needPort = [this] {
        OkButton->setEnabled(!PortBox->currentText().trimmed().isEmpty());
    };
    connect(PortBox, &QComboBox::currentTextChanged, this, needPort);
    needPort();

    auto* layout = new QFormLayout(this);
    layout->addRow("Port", PortBox);
    layout->addRow("Speed (bit/s)", SpeedBox);
    layout->addRow(buttons);
    setFixedSize(sizeHint());
}

void TSerialCableDialog::Ask(const std::optional<TSerialCableSetting>& offered,
                             TCableAnswer answer) {
    auto* dialog = new TSerialCableDialog(offered, QApplication::activeWindow());
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    // The search that asks runs under the hourglass; the choice is the player's to make.
    QApplication::setOverrideCursor(Qt::ArrowCursor);
    connect(dialog, &QDialog::finished, dialog, [] { QApplication::restoreOverrideCursor(); });
    connect(dialog, &TSerialCableDialog::Chosen, dialog,
            [answer](const TSerialCableSetting& setting) { answer(setting); });
    connect(dialog, &QDialog::rejected, dialog, [answer] { answer(std::nullopt); });
    dialog->open();
}

TSerialCableSetting TSerialCableDialog::Setting() const {
    return {PortBox->currentText().trimmed(), SpeedBox->currentData().toInt()};
}

void TSerialCableDialog::accept() {
    const TSerialCableSetting chosen = Setting();
    QDialog::accept();
    emit Chosen(chosen);
}
