#pragma once
// The serial cable's own small dialog: the port the null-modem cable is plugged into and the
// line speed, the same on both machines. The caller may offer a choice made before.

#include "net/SessionService.h"

#include <QDialog>
#include <optional>

class QComboBox;
class QPushButton;

class TSerialCableDialog : public QDialog {
    Q_OBJECT
public:
    static inline const QList<qint32> Speeds{9600, 19200, 38400, 57600, 115200};

    // The dialog shows `offered` when there is one.
    TSerialCableDialog(const std::optional<TSerialCableSetting>& offered, QWidget* parent);

    // Opens a dialog that closes itself: `answer` gets the choice, or nothing when the
    // player cancels.
    static void Ask(const std::optional<TSerialCableSetting>& offered, TCableAnswer answer);

    TSerialCableSetting Setting() const;
    void accept() override;

    QComboBox* PortBox;  // the machine's serial ports; a port name or path may be typed
    QComboBox* SpeedBox; // bits per second
    QPushButton* OkButton;

signals:
    void Chosen(const TSerialCableSetting& setting);
};
