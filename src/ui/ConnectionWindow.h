#pragma once
// The connection window: a provider and its address, the search for sessions, and the
// choice between joining a listed session and hosting a new one.

#include "ui/SkinnedDialog.h"

#include <QByteArray>
#include <QPointer>
#include <functional>

class QComboBox;
class QMessageBox;
struct THostFailure;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QSpinBox;
class QStackedWidget;
class TTexturedButton;
class TSessionService;
struct TNetPlayFields;
class TTexts;

class TConnectionWindow : public TSkinnedDialog {
    Q_OBJECT
public:
    // The address and player name fields follow `fields` both ways.
    TConnectionWindow(TPresentation& look, TNetPlayFields& fields, QWidget* parent = nullptr);

    // The session component of the Connect that shows the window; UseSession hands it over.
    QPointer<TSessionService> NetSession;
    void UseSession(TSessionService* play);

    QComboBox* ProviderList;
    QStackedWidget* ProviderSetting;
    QWidget* DefaultPage;
    QWidget* ProviderSettingTCPIP;
    QWidget* ProviderSettingModem;
    TTexturedButton* OtherConnectButton;
    QLineEdit* TCPIPHostName;
    QSpinBox* TCPIPPort;
    TTexturedButton* TCPIPConnectButton;
    QLineEdit* ModemPhoneNumber;
    QComboBox* ModemComboBox;
    TTexturedButton* ModemConnectButton;
    QLabel* SessionsLabel;
    QListWidget* SessionListBox;
    QLabel* SessionNameLabel;
    QLineEdit* SessionNameEdit;
    QLabel* PlayerNameLabel;
    QLineEdit* PlayerNameEdit;
    TTexturedButton* JoinButton;
    TTexturedButton* HostButton;
    TTexturedButton* CancelButton;

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
    // A search or a join is running: the wait cursor shows and only Cancel is usable.
    bool Busy() const { return busy_; }
    // Cancel, also during a search or a join, which it stops.
    void reject() override;
    // This side's name as typed.
    QByteArray PlayerName() const;

signals:
    // A session is open, just before the window closes: state 1 hosting without a peer yet,
    // 2 joined to a peer.
    void Connected(int state);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void CreateProviderPages();
    void FormCreate(TNetPlayFields& fields);
    // Clears the list, lets `applySettings` hand the page's address to the component,
    // selects the provider and starts the search.
    void Go(const std::function<void()>& applySettings);
    void SetBusy(bool busy);
    void SessionsFound(const QList<QByteArray>& names);
    void SearchFailed(const QString& text);
    void Joined();
    void JoinFailed(const QString& text);

    bool busy_ = false;
};

class TMainWindow;
// Leaves the session of the main window, if any, without raising its events, and releases
// the component.
void ReleaseSession(TMainWindow& main);

// Opens a message box and returns at once; the box closes and frees itself.
QMessageBox* ShowFailure(QWidget* parent, const QString& text);
// The message for a session this side could not serve, in the current language.
QString HostFailureText(const TTexts& texts, const THostFailure& failure);
