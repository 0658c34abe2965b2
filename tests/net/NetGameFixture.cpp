#include "NetGameFixture.h"

#include "LoopbackPort.h"
#include "SessionWaits.h"
#include "net/NetGame.h"
#include "settings/Settings.h"
#include "ui/BoardCell.h"
#include "ui/ChatWindow.h"
#include "ui/ConnectionWindow.h"
#include "ui/QuestionWindow.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <QTest>
#include <QTimer>

namespace {

void Put(QByteArray& data, qint32 value) {
    for (int shift = 0; shift < 32; shift += 8)
        data += static_cast<char>(static_cast<quint32>(value) >> shift & 0xFF);
}

} // namespace

NetGame::NetGame() : port(FreePort()) {
    window->CreateConnectionWindow();
    window->CreateChatWindow();
    ConfigForm = window->ConfigForm;
    ChatWindow = window->ChatWindow;
    peer.SelectProvider("TCP/IP");
    peer.TCPIPSetting = {"127.0.0.1", port, true};
    QObject::connect(
        &peer, &TSessionService::OnMessage,
        [this](TSessionService*, const TSessionPlayer& player, const QByteArray& data) {
            if (player.Remote)
                received.append(data);
        });
}

QByteArray NetGame::Record(qint32 kind, const QByteArray& text, std::array<qint32, 4> params) {
    QByteArray data;
    Put(data, kind);
    Put(data, static_cast<qint32>(text.size()));
    for (qint32 param : params)
        Put(data, param);
    Put(data, 0);
    return data + text + "PAD!";
}

void NetGame::ExpectRecord(const QByteArray& data, qint32 kind, const QByteArray& text,
                           std::array<qint32, 4> params) {
    EXPECT_EQ(data.chopped(4), Record(kind, text, params).chopped(4)); // whatever the pad
}

QByteArray NetGame::Notice(const char* key) const {
    return "[" + GetText(key) + "]";
}

void NetGame::DeclineQuestion(std::function<void()> whileAsked) {
    WhenModal<TQuestionWindow>([whileAsked](TQuestionWindow* question) {
        if (whileAsked)
            whileAsked();
        QTest::mouseClick(question->NoButton, Qt::LeftButton);
    });
}

void NetGame::RunConnectWindow(const std::function<void(TConnectionWindow&)>& fill) {
    Main().Menu_ConnectClick();
    ASSERT_TRUE(ConfigForm->isVisible());
    try {
        fill(*ConfigForm);
    } catch (const std::exception& error) {
        ADD_FAILURE() << error.what();
    }
    if (!QTest::qWaitFor([this] { return !ConfigForm->isVisible(); }, WaitMs)) {
        ADD_FAILURE() << "the connection window stayed open";
        ConfigForm->reject();
    }
}

void NetGame::SearchInWindow(TConnectionWindow& form) {
    form.TCPIPConnectButtonClick();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !form.Busy(); }, WaitMs));
}

void NetGame::JoinPeer() {
    peer.Create("Kordi", "Peer");
    RunConnectWindow([this](TConnectionWindow& form) {
        form.TCPIPHostName->setText("127.0.0.1");
        form.TCPIPPort->setValue(port);
        form.PlayerNameEdit->setText("Me");
        SearchInWindow(form);
        ASSERT_EQ(form.SessionListBox->count(), 1);
        form.SessionListBoxClick(form.SessionListBox->item(0));
        ASSERT_TRUE(form.JoinButton->isEnabled());
        form.JoinButtonClick();
    });
    ASSERT_TRUE(WaitReceived(1));
}

void NetGame::PeerOpensGame() {
    peer.Send(TSessionService::AllPlayers, Record(2, "HOUSE", {2}));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !Game().StartedHere(); }, WaitMs));
}

bool NetGame::WaitReceived(int count) {
    return QTest::qWaitFor([&] { return received.size() >= count; }, WaitMs);
}

bool NetGame::RoundTrip(const QByteArray& line) {
    peer.Send(TSessionService::AllPlayers, Record(0, line));
    return QTest::qWaitFor([&] { return LastLogLine() == "Peer > " + line; }, WaitMs);
}

QString NetGame::LastLogLine() {
    return ChatWindow->Memo->toPlainText().split('\n').last();
}

bool NetGame::Played(const QString& effect) {
    return std::ranges::any_of(sound.Sound().Played, [&](const auto& request) {
        return request.first.endsWith(effect + ".wav");
    });
}
