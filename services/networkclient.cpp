#include "networkclient.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>

namespace {

NetworkClient::Result resultOf(QNetworkReply *reply)
{
    NetworkClient::Result r;
    if (reply->isOpen()) // a timed-out reply is closed already
        r.body = reply->readAll();
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (reply->error() != QNetworkReply::NoError) {
        r.error = reply->errorString();
        return r;
    }
    if (status < 200 || status > 299) {
        r.error = QStringLiteral("HTTP status %1").arg(status);
        return r;
    }
    // Compression is switched off on every request, so the announced length is the body's.
    const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
    if (length.isValid() && r.body.size() < length.toLongLong()) {
        r.error = QStringLiteral("Incomplete answer: %1 of %2 bytes")
                      .arg(r.body.size())
                      .arg(length.toLongLong());
        return r;
    }
    r.ok = true;
    return r;
}

} // namespace

NetworkClient::NetworkClient(QObject *parent)
    : QObject(parent), nam(new QNetworkAccessManager(this))
{
}

NetworkClient::~NetworkClient()
{
    abort();
}

void NetworkClient::setBaseUrl(const QString &url)
{
    base = url.trimmed();
    while (base.endsWith(u'/'))
        base.chop(1);
}

QUrl NetworkClient::urlFor(const QString &pathAndQuery) const
{
    return QUrl(base + pathAndQuery);
}

bool NetworkClient::get(const QString &pathAndQuery, Progress progress, Finished finished)
{
    return start(pathAndQuery, nullptr, std::move(progress), std::move(finished));
}

bool NetworkClient::post(const QString &pathAndQuery, const QByteArray &body, Progress progress,
                         Finished finished)
{
    return start(pathAndQuery, &body, std::move(progress), std::move(finished));
}

void NetworkClient::abort()
{
    if (!reply)
        return;
    QNetworkReply *old = reply;
    reply = nullptr;
    old->disconnect(this);
    old->abort();
    old->deleteLater();
}

bool NetworkClient::start(const QString &pathAndQuery, const QByteArray *postBody,
                          Progress progress, Finished finished)
{
    abort();
    if (!isConfigured())
        return false;

    QNetworkRequest request(urlFor(pathAndQuery));
    request.setTransferTimeout(timeoutMs);
    // Without compression Content-Length counts the body we receive, which makes a cut-off
    // answer recognisable.
    request.setRawHeader("Accept-Encoding", "identity");
    QNetworkReply *r = nullptr;
    if (postBody) {
        request.setHeader(QNetworkRequest::ContentTypeHeader,
                          QByteArrayLiteral("application/x-www-form-urlencoded"));
        r = nam->post(request, *postBody);
    } else {
        r = nam->get(request);
    }
    reply = r;
    tooLarge = false;
    connect(r, &QNetworkReply::downloadProgress, this, [this, r](qint64 received, qint64 total) {
        if (received > maximumBytes || total > maximumBytes) {
            tooLarge = true;
            r->abort();
        }
    });
    if (progress)
        connect(r, &QNetworkReply::downloadProgress, this, std::move(progress));
    connect(r, &QNetworkReply::finished, this, [this, r, finished = std::move(finished)] {
        if (reply != r)
            return;
        reply = nullptr;
        r->disconnect(this);
        Result result = resultOf(r);
        if (tooLarge) {
            result.ok = false;
            result.body.clear();
            result.error = QStringLiteral("Answer larger than %1 bytes").arg(maximumBytes);
        }
        r->deleteLater();
        if (finished)
            finished(result);
    });
    return true;
}
