#include "ui/ChatWindow.h"

#include "net/NetGame.h"
#include "platform/CodePage.h"
#include "platform/TexturedLabel.h"
#include "settings/Settings.h"
#include "ui/ConnectionWindow.h"
#include "ui/MainWindow.h"
#include "ui/Presentation.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace {

void SetBase(QWidget* control, QColor color) {
    QPalette palette = control->palette();
    palette.setColor(QPalette::Base, color);
    control->setPalette(palette);
}

} // namespace

TChatWindow::TChatWindow(TPresentation& look, TNetPlayFields& fields,
                         const TConnectionWindow& connection, TNetGame* netGame, QWidget* parent)
    : TSkinnedDialog(look, parent, 320, 259), connection_(connection), netGame_(netGame) {
    setWindowFlags(windowFlags() | Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint);
    setWindowTitle("CHAT");
    Memo = new QPlainTextEdit(this);
    Memo->setGeometry(4, 4, 312, 196);
    Memo->setReadOnly(true);
    Memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo->setMaximumBlockCount(MaxLines); // the oldest line goes first
    SetBase(Memo, QColor(230, 230, 230));
    Edit = new QLineEdit(this);
    Edit->setGeometry(4, 206, 228, 22);
    SetBase(Edit, QColor(193, 182, 255));
    SendButton = MakeButton(this, {236, 204, 80, 26});
    AutoPopUpChatCheckBox = new QCheckBox(this);
    AutoPopUpChatCheckBox->setGeometry(4, 234, 312, 20);
    AutoPopUpChatCheckBox->setStyleSheet("color: white");
    AutoPopUpChatCheckBox->setChecked(fields.AutoPopUpChat);

    connect(AutoPopUpChatCheckBox, &QCheckBox::toggled, this,
            [&fields](bool checked) { fields.AutoPopUpChat = checked; });
    connect(SendButton, &TTexturedButton::Clicked, this, &TChatWindow::SendButtonClick);
    connect(Memo, &QPlainTextEdit::textChanged, this, &TChatWindow::MemoChange);
    Edit->installEventFilter(this);
    Memo->installEventFilter(this);
}

void TChatWindow::showEvent(QShowEvent* event) {
    TSkinnedDialog::showEvent(event);
    SendButton->SetCaption(GetTextU("Chat_Send"));
    AutoPopUpChatCheckBox->setText(GetTextU("AutoPopUpChat"));
    MemoChange();
}

void TChatWindow::AddLine(const QByteArray& line) {
    // One entry is one line of the log, whatever the peer typed.
    QByteArray flat = line;
    flat.replace('\r', ' ').replace('\n', ' ');
    Memo->appendPlainText(CodePage::ToUnicode(flat));
    if (AutoPopUpChatCheckBox->isChecked()) {
        show();
        raise();
    }
}

void TChatWindow::SendButtonClick() {
    const QString text = Edit->text();
    if (!text.isEmpty()) {
        if (netGame_ && netGame_->State() != 0)
            netGame_->Send(nmChat, CodePage::FromUnicode(text));
        Edit->clear();
        Look().Sounds.PlaySoundEffect(SoundSend);
    }
    Edit->setFocus();
}

void TChatWindow::MemoChange() {
    const QByteArray peer = netGame_ ? netGame_->PeerName() : QByteArray();
    setWindowTitle(GetTextU("Menu_Chat") + " ( " + CodePage::ToUnicode(connection_.PlayerName()) +
                   " - " + CodePage::ToUnicode(peer) + " )");
}

bool TChatWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Edit && event->type() == QEvent::KeyPress)
        return EditKeyPress(static_cast<const QKeyEvent&>(*event));
    // Typing always goes to the input line.
    if (watched == Memo && event->type() == QEvent::FocusIn)
        Edit->setFocus();
    return TSkinnedDialog::eventFilter(watched, event);
}

bool TChatWindow::EditKeyPress(const QKeyEvent& key) {
    if (key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter) {
        SendButtonClick();
        return true;
    }
    if (key.key() != Qt::Key_Backspace && !key.text().isEmpty())
        Look().Sounds.PlaySoundEffect(SoundClick3);
    return false;
}

void TMainWindow::Menu_ChatClick() {
    ChatWindow->setVisible(!ChatWindow->isVisible());
}
