#include "ErrorText.h"
#include "SessionWaits.h"
#include "net/SerialCableDialog.h"
#include "net/SessionService.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QMap>
#include <QPushButton>
#include <QSet>
#include <QSignalSpy>
#include <QSocketNotifier>
#include <QTest>
#include <QTimer>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <memory>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

namespace {

constexpr int WaitMs = 5000;
constexpr int FakeGuardMs = 50; // the fake modem's escape guard; the service waits longer

// A pseudo-terminal pair: the service opens the slave as its serial port, the test plays the
// device at the master.
class TPty {
public:
    TPty() {
        char name[256];
        if (openpty(&master_, &slave_, name, nullptr, nullptr) != 0)
            throw std::runtime_error("openpty failed");
        termios raw;
        tcgetattr(slave_, &raw);
        cfmakeraw(&raw);
        tcsetattr(slave_, TCSANOW, &raw);
        fcntl(master_, F_SETFL, O_NONBLOCK);
        Path = name;
        notifier_ = std::make_unique<QSocketNotifier>(master_, QSocketNotifier::Read);
        QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] { Drain(); });
    }
    ~TPty() {
        Unplug();
        ::close(slave_);
    }
    void Write(QByteArrayView bytes) {
        if (master_ >= 0 && ::write(master_, bytes.data(), bytes.size()) != bytes.size())
            ADD_FAILURE() << "short write to " << Path.toStdString();
    }
    // The device is gone: the service's port fails.
    void Unplug() {
        notifier_.reset();
        if (master_ >= 0)
            ::close(master_);
        master_ = -1;
    }

    QString Path;
    std::function<void(const QByteArray&)> Received;

private:
    void Drain() {
        char buffer[4096];
        for (ssize_t size; (size = ::read(master_, buffer, sizeof buffer)) > 0;)
            if (Received)
                Received(QByteArray(buffer, size));
    }

    int master_ = -1;
    int slave_ = -1;
    std::unique_ptr<QSocketNotifier> notifier_;
};

class TFakeModem;

// The telephone network between the fake modems.
struct TExchange {
    QMap<QByteArray, TFakeModem*> Numbers;
    QSet<QByteArray> Busy;
    bool DialTone = true;
};

// A Hayes modem that answers AT commands like a real one: echo, verbose results, RING and
// CONNECT on a call, the guarded "+++" escape, NO CARRIER when the call ends.
class TFakeModem : public QObject {
public:
    TFakeModem(TExchange& exchange, const QByteArray& number) : exchange_(exchange) {
        exchange.Numbers[number] = this;
        Pty.Received = [this](const QByteArray& bytes) { Receive(bytes); };
    }
    void DropCarrier() { HangUp(true); }
    bool InCall() const { return peer_ != nullptr; }

    TPty Pty;
    QByteArrayList Commands;
    bool AutoAnswer = false;

private:
    void Receive(const QByteArray& bytes) {
        if (online_)
            return Relay(bytes);
        text_ += bytes;
        for (qsizetype end; (end = text_.indexOf('\r')) >= 0;) {
            const QByteArray line = text_.first(end);
            text_.remove(0, end + 1);
            Pty.Write(line + '\r');
            if (line.contains("AT"))
                Execute(line.mid(line.indexOf("AT")));
        }
    }
    void Execute(const QByteArray& command) {
        Commands.append(command);
        if (command == "ATZ" || command == "ATS0=1")
            AutoAnswer = command == "ATS0=1";
        else if (command == "ATH")
            HangUp(false);
        else if (command.startsWith("ATDT"))
            return Dial(command.mid(4));
        Result(command == "ATZ" || command == "ATS0=1" || command == "ATH" ? "OK" : "ERROR");
    }
    void Dial(const QByteArray& number) {
        TFakeModem* callee = exchange_.Numbers.value(number);
        const QByteArray failure = !exchange_.DialTone               ? "NO DIALTONE"
                                   : exchange_.Busy.contains(number) ? "BUSY"
                                   : !callee || !callee->AutoAnswer  ? "NO CARRIER"
                                                                     : "";
        if (!failure.isEmpty())
            return void(QTimer::singleShot(10, this, [this, failure] { Result(failure); }));
        callee->Result("RING");
        QTimer::singleShot(10, this, [this, callee] {
            for (TFakeModem* side : {this, callee})
                side->online_ = true, side->Result("CONNECT 9600"), side->lastData_.start();
            peer_ = callee;
            callee->peer_ = this;
        });
    }
    // Data goes to the other modem; "+++" between two guard times returns to commands.
    void Relay(const QByteArray& bytes) {
        const bool escape = bytes == "+++" && lastData_.elapsed() >= FakeGuardMs;
        lastData_.start();
        if (!escape)
            return peer_->Pty.Write(bytes);
        QTimer::singleShot(FakeGuardMs, this, [this] {
            if (lastData_.elapsed() >= FakeGuardMs)
                online_ = false, Result("OK");
        });
    }
    // The other side always hears NO CARRIER; this side only when the line dropped.
    void HangUp(bool dropped) {
        if (peer_)
            peer_->EndCall(true);
        EndCall(dropped);
    }
    void EndCall(bool told) {
        if (peer_ && told)
            Result("NO CARRIER");
        peer_ = nullptr;
        online_ = false;
    }
    void Result(const QByteArray& result) { Pty.Write("\r\n" + result + "\r\n"); }

    TExchange& exchange_;
    TFakeModem* peer_ = nullptr;
    bool online_ = false;
    QByteArray text_;
    QElapsedTimer lastData_;
};

// A null-modem cable between two pseudo terminals.
struct TFakeCable {
    TFakeCable() {
        A.Received = [this](const QByteArray& bytes) { B.Write(bytes); };
        B.Received = [this](const QByteArray& bytes) { A.Write(bytes); };
    }
    TPty A;
    TPty B;
};

QByteArray Record(int number) {
    return "REC:" + QByteArray::number(number);
}

class SerialTest : public ::testing::Test {
protected:
    std::unique_ptr<TSessionService> ModemPlay(const TFakeModem& modem, const QString& number) {
        auto play = std::make_unique<TSessionService>();
        play->SelectProvider("Modem");
        play->ModemSetting = {number, modem.Pty.Path, true};
        play->ModemTimings = {1000, 2000, 2 * FakeGuardMs, 100};
        return play;
    }
    std::unique_ptr<TSessionService> CablePlay(const QString& port) {
        auto play = std::make_unique<TSessionService>();
        play->SelectProvider("Serial cable");
        play->AskSerialCable = [port](const TCableAnswer& answer) {
            answer(TSerialCableSetting{port, 19200});
        };
        play->EnumWaitMs = 300;
        return play;
    }
    // The host waits for a call (nothing to find without a number), the guest dials it.
    void Connect(TSessionService& host, TSessionService& guest) {
        EXPECT_TRUE(Search(host).isEmpty());
        host.Create("Kordi", "Host");
        ASSERT_TRUE(QTest::qWaitFor([&] { return host.IsHost(); }, WaitMs));
        ASSERT_EQ(Search(guest), QList<QByteArray>{"Kordi"});
        JoinNow(guest, "Kordi", "Guest");
        ASSERT_TRUE(QTest::qWaitFor([&] { return host.Players().size() == 2; }, WaitMs));
    }
    // Records of 4 bytes and more arrive whole, once and in order, both ways.
    void ExpectRecordsBothWays(TSessionService& host, TSessionService& guest) {
        QSignalSpy atHost(&host, &TSessionService::OnMessage);
        QSignalSpy atGuest(&guest, &TSessionService::OnMessage);
        constexpr int Count = 50;
        for (int i = 0; i < Count; ++i)
            guest.Send(TSessionService::AllPlayers, Record(i));
        host.Send(TSessionService::AllPlayers, QByteArray(4096, 'w'));
        ASSERT_TRUE(QTest::qWaitFor([&] { return atHost.count() == Count; }, WaitMs));
        ASSERT_TRUE(QTest::qWaitFor([&] { return atGuest.count() == 1; }, WaitMs));
        for (int i = 0; i < Count; ++i)
            ASSERT_EQ(atHost.at(i).at(2).toByteArray(), Record(i));
        EXPECT_EQ(atHost.at(0).at(1).value<TSessionPlayer>().Name, "Guest");
        EXPECT_EQ(atGuest.at(0).at(2).toByteArray(), QByteArray(4096, 'w'));
    }

    TExchange exchange;
    TFakeModem hostModem{exchange, "5550101"};
    TFakeModem guestModem{exchange, "5550202"};
};

} // namespace

// A call is dialled, answered and played over; hanging up escapes, ends the call, and the
// host's modem answers the next call. A carrier lost in that call, even mid-record, is a
// lost session on both sides; the host answers again and the guest takes the session over,
// its modem waiting for a call.
TEST_F(SerialTest, ModemCallPlaysHangsUpAndLosesTheCarrier) {
    const auto host = ModemPlay(hostModem, "");
    const auto guest = ModemPlay(guestModem, "555-0101");
    QSignalSpy hostDeleted(host.get(), &TSessionService::OnDeletePlayer);
    QSignalSpy hostLost(host.get(), &TSessionService::OnSessionLost);
    QSignalSpy guestDeleted(guest.get(), &TSessionService::OnDeletePlayer);
    QSignalSpy guestLost(guest.get(), &TSessionService::OnSessionLost);
    Connect(*host, *guest);
    EXPECT_EQ(guest->Players().first().Name, "Host");
    ExpectRecordsBothWays(*host, *guest);

    guest->Close();
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return !guestModem.InCall() && guestModem.Commands.last() == "ATH"; }, WaitMs));
    ASSERT_TRUE(QTest::qWaitFor([&] { return hostDeleted.count() == 1; }, WaitMs));
    EXPECT_EQ(hostLost.count() + guestLost.count(), 0); // a goodbye is no loss
    ASSERT_TRUE(QTest::qWaitFor([&] { return hostModem.AutoAnswer; }, WaitMs));

    ASSERT_EQ(Search(*guest), QList<QByteArray>{"Kordi"});
    JoinNow(*guest, "Kordi", "Again");
    ASSERT_TRUE(QTest::qWaitFor([&] { return host->Players().size() == 2; }, WaitMs));
    // The carrier drops in the middle of a record coming to the guest.
    const QByteArray record =
        SessionFraming::EncodeFrame(SessionFraming::TFrameType::Data, QByteArray(100, 'r'));
    guestModem.Pty.Write(record.first(20));
    hostModem.DropCarrier();
    ASSERT_TRUE(QTest::qWaitFor([&] { return hostLost.count() && guestLost.count(); }, WaitMs));
    EXPECT_EQ(hostDeleted.at(1).at(0).value<TSessionPlayer>().Name, "Again");
    EXPECT_EQ(guestDeleted.last().at(0).value<TSessionPlayer>().Name, "Host");
    EXPECT_TRUE(host->Opened() && host->IsHost());
    ASSERT_TRUE(QTest::qWaitFor([&] { return guest->IsHost(); }, WaitMs));
    EXPECT_TRUE(guestModem.AutoAnswer);
    EXPECT_TRUE(hostModem.AutoAnswer);
}

// The modem's refusals reach the player as clear texts; without a modem nothing is touched.
TEST_F(SerialTest, DialFailuresAreReported) {
    const auto guest = ModemPlay(guestModem, "5550303");
    exchange.Busy = {"5550303"};
    const auto dialError = [&] { return ErrorText([&] { Search(*guest); }); };
    EXPECT_EQ(dialError(), "The line of 5550303 is busy");
    guest->ModemSetting.PhoneNumber = "5550101"; // a modem that does not answer calls
    EXPECT_EQ(dialError(), "No modem answered at 5550101");
    exchange.DialTone = false;
    EXPECT_EQ(dialError(), "The modem hears no dial tone: is the telephone line plugged in?");

    guest->Close();
    const qsizetype commands = guestModem.Commands.size();
    guest->ModemSetting = {"5550101", "", true};
    EXPECT_EQ(dialError(), "No modem is selected: choose one in the Modem list");
    EXPECT_EQ(ErrorText([&] { guest->Create("Kordi", "Guest"); }),
              "Session Kordi cannot be opened");
    guest->ModemSetting = {"5550101\rATH", guestModem.Pty.Path, true};
    EXPECT_EQ(dialError(), "The telephone number '5550101\rATH' cannot be dialled");
    EXPECT_EQ(guestModem.Commands.size(), commands);
    EXPECT_FALSE(hostModem.InCall());
}

// Two machines on a null-modem cable: one hosts, the other finds and joins; a port that
// goes away is a lost session, and the cable's dialog can be cancelled quietly.
TEST_F(SerialTest, SerialCablePair) {
    TFakeCable cable;
    const auto host = CablePlay(cable.A.Path);
    const auto guest = CablePlay(cable.B.Path);
    host->LinkTimings = {50, 500};
    Connect(*host, *guest);
    ExpectRecordsBothWays(*host, *guest);

    QSignalSpy hostLost(host.get(), &TSessionService::OnSessionLost);
    QSignalSpy guestDeleted(guest.get(), &TSessionService::OnDeletePlayer);
    QSignalSpy guestLost(guest.get(), &TSessionService::OnSessionLost);
    QSignalSpy guestFailures(guest.get(), &TSessionService::OnHostMigrationFailed);
    cable.B.Unplug();
    ASSERT_TRUE(QTest::qWaitFor([&] { return guestLost.count() == 1; }, WaitMs));
    EXPECT_EQ(guestDeleted.count(), 1);
    // The port cannot serve the session any more: tried again a few times, then told.
    ASSERT_TRUE(QTest::qWaitFor([&] { return guestFailures.count() == 1; }, WaitMs));
    EXPECT_EQ(guestFailures.at(0).at(0).value<THostFailure>().Place, "port " + cable.B.Path);
    // The host hears nothing more.
    ASSERT_TRUE(QTest::qWaitFor([&] { return hostLost.count() == 1; }, WaitMs));
    EXPECT_TRUE(host->IsHost());

    guest->AskSerialCable = [](const TCableAnswer& answer) { answer(std::nullopt); };
    EXPECT_THROW(Search(*guest), Cancelled);
}

// The cable's question opens without waiting, needs a port, and answers through its callback:
// the choice, offered again next time, or nothing when the player cancels.
TEST(SerialCableDialogTest, AsksWithoutWaitingAndRemembers) {
    std::optional<std::optional<TSerialCableSetting>> answer;
    std::optional<TSerialCableSetting> offered;
    const auto ask = [&answer, &offered] {
        TSerialCableDialog::Ask(
            offered,
            [&answer](const std::optional<TSerialCableSetting>& chosen) { answer = chosen; });
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (auto* dialog = qobject_cast<TSerialCableDialog*>(widget);
                dialog && dialog->isVisible())
                return dialog;
        return static_cast<TSerialCableDialog*>(nullptr);
    };
    TSerialCableDialog* dialog = ask();
    EXPECT_FALSE(answer);
    ASSERT_TRUE(dialog);
    dialog->PortBox->setCurrentText("");
    EXPECT_FALSE(dialog->OkButton->isEnabled());
    dialog->PortBox->setCurrentText("/dev/ttyS9");
    dialog->SpeedBox->setCurrentIndex(dialog->SpeedBox->findData(38400));
    dialog->accept();
    ASSERT_TRUE(answer && *answer);
    EXPECT_EQ((*answer)->PortName, "/dev/ttyS9");

    offered = *answer;
    answer.reset();
    dialog = ask();
    ASSERT_TRUE(dialog);
    EXPECT_EQ(dialog->Setting().PortName, "/dev/ttyS9");
    EXPECT_EQ(dialog->Setting().BaudRate, 38400);
    dialog->reject();
    ASSERT_TRUE(answer);
    EXPECT_FALSE(*answer);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}
