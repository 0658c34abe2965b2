#include "MessageRecorder.h"
#include "TestFolder.h"
#include "dictionary/Dictionary.h"
#include "net/WebServices.h"
#include "settings/RunData.h"

#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace {

// A web server on this machine that answers every request with one canned reply, or never
// answers when the status is empty.
class TCannedServer : public QTcpServer {
public:
    explicit TCannedServer(const QByteArray& status = {}, const QByteArray& body = {}) {
        if (!status.isEmpty())
            reply_ = "HTTP/1.0 " + status +
                     "\r\nContent-Length: " + QByteArray::number(body.size()) +
                     "\r\nConnection: close\r\n\r\n" + body;
        listen(QHostAddress::LocalHost);
        connect(this, &QTcpServer::newConnection, this, &TCannedServer::Accept);
    }
    QUrl Url() const { return QUrl(QString("http://127.0.0.1:%1/stats.php?").arg(serverPort())); }
    int Requests = 0;

private:
    void Accept() {
        while (QTcpSocket* socket = nextPendingConnection()) {
            ++Requests;
            auto received = std::make_shared<QByteArray>();
            connect(socket, &QTcpSocket::readyRead, socket, [this, socket, received] {
                *received += socket->readAll();
                if (received->contains("\r\n\r\n") && !reply_.isEmpty()) {
                    socket->write(reply_);
                    socket->disconnectFromHost();
                }
            });
        }
    }
    QByteArray reply_;
};

class WebTest : public ::testing::Test {
protected:
    WebTest() {
        folder.LayShippedData();
        data.Words.LanguageName = "English";
        data.Settings.WriteString("English", "NewVersion", "Version %d.%d%d is out!");
    }

    std::unique_ptr<TVersionCheck> CheckAgainst(const TCannedServer& server) const {
        auto check =
            std::make_unique<TVersionCheck>(data.Texts, MessageRecorder::Messages(), nullptr);
        check->Address = server.Url();
        check->LocalAddressRule = [] { return QString("192.0.2.7"); };
        return check;
    }

    TestFolder folder;
    TRunData data{folder.Program()};
    MessageRecorder messages;
};

} // namespace

// Only a reply that starts with the marker and a version above 2.01 gives the notice, with
// the version's three digits in order; every check ends, and there is one request per run.
TEST_F(WebTest, VersionNoticeOnlyForANewerVersionAtTheStartOfTheReply) {
    const std::tuple<QByteArray, QByteArray, QStringList> cases[] = {
        {"200 OK", "KORDI 2000 VERSION:201", {}},
        {"200 OK", "KORDI 2000 VERSION:310 and more", {"Version 3.10 is out!"}},
        {"200 OK", "<html>KORDI 2000 VERSION:999", {}},
        {"200 OK", "KORDI 2000 VERSION:9x9", {}},
        {"404 Not Found", "KORDI 2000 VERSION:999", {}},
    };
    for (const auto& [status, body, notices] : cases) {
        messages.Shown.clear();
        TCannedServer server(status, body);
        const auto check = CheckAgainst(server);
        check->StatisticsRequestStep();
        check->StatisticsRequestStep(); // one under way already
        ASSERT_TRUE(QTest::qWaitFor([&] { return check->HttpDone == 1; }, 5000));
        check->StatisticsRequestStep(); // the check has ended
        QTest::qWait(50);
        EXPECT_EQ(messages.Shown, notices) << body.toStdString();
        EXPECT_EQ(server.Requests, 1);
    }
}

// Without a network no request is made; the first step after an address appears makes it.
// A server that never answers ends the check in silence once the wait's limit has passed.
TEST_F(WebTest, NoRequestWithoutANetworkAndSilenceEndsTheCheck) {
    TCannedServer server;
    const auto check = CheckAgainst(server);
    QString address = "127.0.0.1";
    check->LocalAddressRule = [&address] { return address; };
    check->WaitLimit = std::chrono::milliseconds(300);
    check->StatisticsRequestStep();
    EXPECT_EQ(server.Requests, 0);
    address = "192.0.2.7";
    check->StatisticsRequestStep();
    EXPECT_EQ(check->HttpDone, 0); // the game goes on meanwhile
    ASSERT_TRUE(QTest::qWaitFor([&] { return check->HttpDone == 1; }, 5000));
    EXPECT_EQ(server.Requests, 1);
    EXPECT_TRUE(messages.Shown.isEmpty());
}
