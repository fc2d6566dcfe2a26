#pragma once

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QUrl>

#include <functional>

class QNetworkAccessManager;
class QNetworkReply;

// The one connection to the update server, shared by the synonym and the program channel. It owns
// the only QNetworkAccessManager and runs one request at a time: starting a request drops the one
// still in flight without calling its handlers, so the chain of requests never has two answers
// arriving for the same step.
//
// Every request carries a transfer timeout: a server that stops sending for that long ends the
// request as failed. A body shorter than the Content-Length the server announced is failed too, so
// a cut-off download is never mistaken for a whole one.
class NetworkClient final : public QObject
{
    Q_OBJECT

public:
    struct Result
    {
        bool ok = false; // a 2xx answer that arrived whole
        QByteArray body; // whatever arrived, also when failed
        QString error;   // what went wrong when !ok
    };
    using Progress = std::function<void(qint64 received, qint64 total)>;
    using Finished = std::function<void(const Result &)>;

    static constexpr int defaultTimeoutMs = 30000;
    // Nothing the update server sends comes near this; a larger answer is refused rather than
    // held in memory.
    static constexpr qint64 defaultMaximumBytes = 256 * 1024 * 1024;

    explicit NetworkClient(QObject *parent = nullptr);
    ~NetworkClient() override;
    Q_DISABLE_COPY_MOVE(NetworkClient)

    // The server's base URL ("http://updates.example.org", "https://host:8443/sub"); empty means
    // there is no update server and no request is ever sent.
    void setBaseUrl(const QString &url);
    QString baseUrl() const { return base; }
    bool isConfigured() const { return !base.isEmpty(); }

    void setTimeout(int milliseconds) { timeoutMs = milliseconds; }
    void setMaximumBytes(qint64 bytes) { maximumBytes = bytes; }

    // base + `pathAndQuery` ("/?page_id=346", "/english_syn4.dat").
    QUrl urlFor(const QString &pathAndQuery) const;

    // Start a request; `finished` runs once when it ends, unless another request replaces it
    // first. Returns false (and calls nothing) when no server is configured.
    bool get(const QString &pathAndQuery, Progress progress, Finished finished);
    bool post(const QString &pathAndQuery, const QByteArray &body, Progress progress,
              Finished finished);

    bool isBusy() const { return !reply.isNull(); }
    // Drops the request in flight without calling its handlers.
    void abort();

private:
    bool start(const QString &pathAndQuery, const QByteArray *postBody, Progress progress,
               Finished finished);

    QNetworkAccessManager *nam = nullptr;
    QPointer<QNetworkReply> reply;
    QString base;
    int timeoutMs = defaultTimeoutMs;
    qint64 maximumBytes = defaultMaximumBytes;
    bool tooLarge = false; // the request in flight was stopped for its size
};
