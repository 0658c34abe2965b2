#include "ErrorText.h"
#include "SessionWaits.h"
#include "net/SerialCableDialog.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QPushButton>
#include <QSignalSpy>
#include <QSocketNotifier>
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
        QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] {
            char buffer[4096];
            for (ssize_t size; (size = ::read(master_, buffer, sizeof buffer)) > 0;)
                Received(QByteArray(buffer, size));
        });
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
    std::function<void(const QByteArray&)> Received = [](const QByteArray&) {};

private:
    int master_ = -1;
    int slave_ = -1;
    std::unique_ptr<QSocketNotifier> notifier_;
};

// A Hayes modem on a line to one other: it echoes, answers in words, rings and connects the
// other when that one answers calls, escapes on a guarded "+++", and says NO CARRIER when the
// call ends.
class TFakeModem : public QObject {
public:
    explicit TFakeModem(TFakeModem* other = nullptr) : other_(other) {
        if (other)
            other->other_ = this;
        Pty.Received = [this](const QByteArray& bytes) { online_ ? Relay(bytes) : Take(bytes); };
    }
    // The call ends under both modems.
    void DropCarrier() { HangUp(); }
    bool InCall() const { return online_; }

    TPty Pty;
    QByteArrayList Commands;
    bool AutoAnswer = false;

private:
    void Take(const QByteArray& bytes) {
        text_ += bytes;
        for (qsizetype end; (end = text_.indexOf('\r')) >= 0; text_.remove(0, end + 1)) {
            const QByteArray line = text_.first(end);
            Pty.Write(line + '\r');
            if (line.contains("AT"))
                Execute(line.mid(line.indexOf("AT")));
        }
    }
    void Execute(const QByteArray& command) {
        Commands.append(command);
        if (command.startsWith("ATDT"))
            return Dial();
        if (command == "ATZ" || command == "ATS0=1")
            AutoAnswer = command == "ATS0=1";
        else if (command == "ATH")
            HangUp();
        Result(QByteArrayList{"ATZ", "ATS0=1", "ATH"}.contains(command) ? "OK" : "ERROR");
    }
    void Dial() {
        if (!other_->AutoAnswer)
            return void(QTimer::singleShot(10, this, [this] { Result("NO CARRIER"); }));
        other_->Result("RING");
        QTimer::singleShot(10, this, [this] {
            for (TFakeModem* side : {this, other_})
                side->online_ = true, side->Result("CONNECT 9600"), side->lastData_.start();
        });
    }
    // Data goes to the other modem; "+++" between two guard times returns to commands.
    void Relay(const QByteArray& bytes) {
        const bool escape = bytes == "+++" && lastData_.elapsed() >= FakeGuardMs;
        lastData_.start();
        if (!escape)
            return other_->Pty.Write(bytes);
        QTimer::singleShot(FakeGuardMs, this, [this] {
            if (lastData_.elapsed() >= FakeGuardMs)
                online_ = false, Result("OK");
        });
    }
    // Whichever side is still online hears NO CARRIER.
    void HangUp() {
        for (TFakeModem* side : {this, other_})
            if (std::exchange(side->online_, false))
                side->Result("NO CARRIER");
    }
    void Result(const QByteArray& result) { Pty.Write("\r\n" + result + "\r\n"); }

    TFakeModem* other_;
    bool online_ = false;
    QByteArray text_;
    QElapsedTimer lastData_;
};

std::unique_ptr<TSessionService> Play(const QString& provider) {
    auto play = std::make_unique<TSessionService>();
    play->SelectProvider(provider);
    play->ModemTimings = {1000, 2000, 2 * FakeGuardMs, 100};
    play->EnumWaitMs = 300;
    return play;
}

// The host waits for a call (nothing to find without a number), the guest finds and joins it,
// and records arrive whole, once and in order, both ways.
void Connect(TSessionService& host, TSessionService& guest) {
    EXPECT_TRUE(Search(host).isEmpty());
    host.Create("Kordi", "Host");
    ASSERT_TRUE(QTest::qWaitFor([&] { return host.IsHost(); }, WaitMs));
    ASSERT_EQ(Search(guest), QList<QByteArray>{"Kordi"});
    JoinNow(guest, "Kordi", "Guest");
    ASSERT_TRUE(QTest::qWaitFor([&] { return host.Players().size() == 2; }, WaitMs));
    QSignalSpy atHost(&host, &TSessionService::OnMessage);
    QSignalSpy atGuest(&guest, &TSessionService::OnMessage);
    for (int i = 0; i < 50; ++i)
        guest.Send(TSessionService::AllPlayers, "REC:" + QByteArray::number(i));
    host.Send(TSessionService::AllPlayers, QByteArray(4096, 'w'));
    ASSERT_TRUE(QTest::qWaitFor([&] { return atHost.count() == 50 && atGuest.count(); }, WaitMs));
    for (int i = 0; i < 50; ++i)
        ASSERT_EQ(atHost.at(i).at(2).toByteArray(), "REC:" + QByteArray::number(i));
    EXPECT_EQ(atGuest.at(0).at(2).toByteArray(), QByteArray(4096, 'w'));
}

} // namespace

// A call is dialled, answered and played over; hanging up escapes, ends the call, and the
// host's modem answers the next call. A carrier lost in that call, even mid-record, is a
// lost session on both sides; the host answers again and the guest takes the session over,
// its modem waiting for a call.
TEST(SerialTest, ModemCallPlaysHangsUpAndLosesTheCarrier) {
    TFakeModem hostModem, guestModem(&hostModem);
    const auto host = Play("Modem"), guest = Play("Modem");
    host->ModemSetting = {"", hostModem.Pty.Path, true};
    guest->ModemSetting = {"555-0101", guestModem.Pty.Path, true};
    QSignalSpy hostLost(host.get(), &TSessionService::OnSessionLost);
    QSignalSpy guestLost(guest.get(), &TSessionService::OnSessionLost);
    Connect(*host, *guest);
    EXPECT_TRUE(guestModem.Commands.contains("ATDT5550101"));

    guest->Close();
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return !guestModem.InCall() && guestModem.Commands.last() == "ATH"; }, WaitMs));
    ASSERT_TRUE(QTest::qWaitFor([&] { return host->Players().size() == 1; }, WaitMs));
    EXPECT_EQ(hostLost.count() + guestLost.count(), 0); // a goodbye is no loss
    ASSERT_TRUE(QTest::qWaitFor([&] { return hostModem.Commands.count("ATS0=1") == 2; }, WaitMs));

    ASSERT_EQ(Search(*guest), QList<QByteArray>{"Kordi"});
    JoinNow(*guest, "Kordi", "Again");
    ASSERT_TRUE(QTest::qWaitFor([&] { return host->Players().size() == 2; }, WaitMs));
    const QByteArray record =
        SessionFraming::EncodeFrame(SessionFraming::TFrameType::Data, QByteArray(100, 'r'));
    guestModem.Pty.Write(record.first(20));
    hostModem.DropCarrier();
    ASSERT_TRUE(QTest::qWaitFor([&] { return hostLost.count() && guestLost.count(); }, WaitMs));
    EXPECT_TRUE(host->Opened() && host->IsHost());
    ASSERT_TRUE(QTest::qWaitFor([&] { return guest->IsHost(); }, WaitMs));
    EXPECT_TRUE(guestModem.AutoAnswer && hostModem.AutoAnswer);
}

// A modem that does not get through is told to the player; a setting that cannot be used is
// refused before the modem is touched, so a typed number never carries a command.
TEST(SerialTest, DialFailuresAreReported) {
    TFakeModem other, modem(&other); // the other modem does not answer calls
    const auto guest = Play("Modem");
    guest->ModemSetting = {"5550303", modem.Pty.Path, true};
    const auto dialError = [&] { return ErrorText([&] { Search(*guest); }); };
    EXPECT_EQ(dialError(), "No modem answered at 5550303");

    guest->Close();
    const qsizetype commands = modem.Commands.size();
    guest->ModemSetting = {"5550101", "", true};
    EXPECT_EQ(dialError(), "No modem is selected: choose one in the Modem list");
    EXPECT_EQ(ErrorText([&] { guest->Create("Kordi", "Guest"); }),
              "Session Kordi cannot be opened");
    guest->ModemSetting = {"5550101\rATH", modem.Pty.Path, true};
    EXPECT_EQ(dialError(), "The telephone number '5550101\rATH' cannot be dialled");
    EXPECT_EQ(modem.Commands.size(), commands);
}

// Two machines on a null-modem cable: one hosts, the other finds and joins; a port that
// goes away is a lost session, and the cable's dialog can be cancelled quietly.
TEST(SerialTest, SerialCablePair) {
    TPty a, b; // the two ends of the cable
    a.Received = [&b](const QByteArray& bytes) { b.Write(bytes); };
    b.Received = [&a](const QByteArray& bytes) { a.Write(bytes); };
    const auto host = Play("Serial cable"), guest = Play("Serial cable");
    for (auto [play, port] : {std::pair(host.get(), a.Path), std::pair(guest.get(), b.Path)})
        play->AskSerialCable = [port](const TCableAnswer& answer) {
            answer(TSerialCableSetting{port, 19200});
        };
    host->LinkTimings = {50, 500};
    Connect(*host, *guest);

    QSignalSpy hostLost(host.get(), &TSessionService::OnSessionLost);
    QSignalSpy guestLost(guest.get(), &TSessionService::OnSessionLost);
    QSignalSpy guestFailures(guest.get(), &TSessionService::OnHostMigrationFailed);
    b.Unplug();
    ASSERT_TRUE(QTest::qWaitFor([&] { return guestLost.count() == 1; }, WaitMs));
    // The port cannot serve the session any more: tried again a few times, then told.
    ASSERT_TRUE(QTest::qWaitFor([&] { return guestFailures.count() == 1; }, WaitMs));
    EXPECT_EQ(guestFailures.at(0).at(0).value<THostFailure>().Place, "port " + b.Path);
    ASSERT_TRUE(QTest::qWaitFor([&] { return hostLost.count() == 1; }, WaitMs));
    EXPECT_TRUE(host->IsHost());

    guest->AskSerialCable = [](const TCableAnswer& answer) { answer(std::nullopt); };
    EXPECT_THROW(Search(*guest), Cancelled);
}

// The cable's question opens without waiting, needs a port, and answers through its callback:
// the choice, or nothing when the player cancels.
TEST(SerialCableDialogTest, AsksWithoutWaiting) {
    std::optional<std::optional<TSerialCableSetting>> answer;
    const auto ask = [&answer] {
        TSerialCableDialog::Ask(
            std::nullopt,
            [&answer](const std::optional<TSerialCableSetting>& chosen) { answer = chosen; });
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (auto* dialog = qobject_cast<TSerialCableDialog*>(widget);
                dialog && dialog->isVisible())
                return dialog;
        return static_cast<TSerialCableDialog*>(nullptr);
    };
    TSerialCableDialog* dialog = ask();
    ASSERT_TRUE(dialog);
    EXPECT_FALSE(answer);
    dialog->PortBox->setCurrentText("");
    EXPECT_FALSE(dialog->OkButton->isEnabled());
    dialog->PortBox->setCurrentText("/dev/ttyS9");
    dialog->SpeedBox->setCurrentIndex(dialog->SpeedBox->findData(38400));
    dialog->accept();
    ASSERT_TRUE(answer && *answer);
    EXPECT_EQ((*answer)->PortName, "/dev/ttyS9");
    EXPECT_EQ((*answer)->BaudRate, 38400);

    ASSERT_TRUE(dialog = ask());
    dialog->reject();
    EXPECT_FALSE(*answer);
}
