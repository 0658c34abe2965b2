#pragma once
// The program's web services: at most one request per run of the maker's statistics page,
// whose reply may announce a newer version, and the help page and web links, opened with
// the desktop's own viewer.

#include <QObject>
#include <QString>
#include <QUrl>
#include <chrono>
#include <functional>

class QNetworkAccessManager;
class QNetworkReply;
class IMessages;
class TProgramFolder;
class TTexts;
struct TDictionary;

// The local machine's first IPv4 address in dotted notation; empty when the host name
// cannot be read or resolved. "127.0.0.1" means there is no network.
QString LocalAddress();

class TVersionCheck : public QObject {
    Q_OBJECT
public:
    static constexpr int OwnVersion = 201;

    // Made by the main window, which owns it; the notice of a new version is in the
    // language of `texts`, shown through `messages`.
    TVersionCheck(const TTexts& texts, IMessages& messages, QObject* owner);

    // Tests point these at a server of their own.
    QUrl Address;
    std::function<QString()> LocalAddressRule = LocalAddress;
    std::chrono::milliseconds WaitLimit{10000};

    // 1 once the check has ended in any way; no request is made after that.
    quint8 HttpDone = 0;

    // Run by the main timer's tick each time Ticks comes round to 0: makes the request when
    // there is a network and none is under way; its answer, or WaitLimit without one, ends
    // the check.
    void StatisticsRequestStep();

    void NMHTTPSuccess(const QByteArray& body);

private:
    void Answered();

    QNetworkAccessManager* http_;
    QNetworkReply* reply_ = nullptr;
    const TTexts& texts_;
    IMessages& messages_;
};

// The help page of the dictionary's language, in the program's folder.
QUrl HelpPage(const TProgramFolder& folder, const TDictionary& words);
