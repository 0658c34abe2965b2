#pragma once
// The connection window: a provider and its address, the search for sessions, and the
// choice between joining a listed session and hosting a new one.

#include "ui/SkinnedDialog.h"

#include <QByteArray>
#include <QPointer>
#include <functional>

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QSpinBox;
class QStackedWidget;
class TCoolButton;
class TDXPlay;

class TConfigForm : public TSkinnedDialog {
    Q_OBJECT
public:
    explicit TConfigForm(QWidget* parent = nullptr);

    // The session component of the Connect that shows the window.
    QPointer<TDXPlay> DXPlay;

    QComboBox* ProviderList;
    QStackedWidget* ProviderSetting;
    QWidget* DefaultPage;
    QWidget* ProviderSettingTCPIP;
    QWidget* ProviderSettingModem;
    TCoolButton* OtherConnectButton;
    QLineEdit* TCPIPHostName;
    QSpinBox* TCPIPPort;
    TCoolButton* TCPIPConnectButton;
    QLineEdit* ModemPhoneNumber;
    QComboBox* ModemComboBox;
    TCoolButton* ModemConnectButton;
    QLabel* Label2;
    QListWidget* SessionListBox;
    QLabel* Label3;
    QLineEdit* SessionNameEdit;
    QLabel* Label4;
    QLineEdit* PlayerNameEdit;
    TCoolButton* JoinButton;
    TCoolButton* HostButton;
    TCoolButton* Button1;

    void ProviderListChange();
    void TCPIPConnectButtonClick();
    void ModemConnectButtonClick();
    void OtherConnectButtonClick();
    void RefreshSessions();
    void ShowModemPage();
    void SessionListBoxClick(QListWidgetItem* item);
    // The button rule: a listed session name can only be joined, a new one only hosted.
    void SessionNameEditChange();
    void JoinButtonClick();
    void HostButtonClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void CreateProviderPages();
    void FormCreate();
    // Clears the list, lets `applySettings` hand the page's address to the component,
    // selects the provider and searches.
    void Go(const std::function<void()>& applySettings);
};

extern TConfigForm* ConfigForm;

class TMainWindow;
// Leaves the session of the main window, if any, without raising its events, and releases
// the component.
void ReleaseSession(TMainWindow& main);

// 0: this side's name. 1: while a peer is present, the peer's name; empty otherwise.
QByteArray PlayerName(int which);
