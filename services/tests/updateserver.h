#pragma once

// The local update server of the network tests: updateserver.py started on 127.0.0.1 with a
// private folder of answers, stopped when the object goes.

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>

class UpdateServer final
{
public:
    UpdateServer() = default;
    ~UpdateServer() { stop(); }
    Q_DISABLE_COPY_MOVE(UpdateServer)

    // Starts the server (HTTPS when given a PEM certificate and key); false when it did not say
    // its port.
    bool start(const QString &certificate = {}, const QString &key = {})
    {
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        QStringList arguments{QStringLiteral(UPDATE_SERVER_SCRIPT), folder.path()};
        if (!certificate.isEmpty())
            arguments << certificate << key;
        scheme = certificate.isEmpty() ? QStringLiteral("http") : QStringLiteral("https");
        process.start(QStringLiteral("python3"), arguments);
        if (!process.waitForStarted(20000) || !process.waitForReadyRead(20000)) {
            qWarning("The update server did not start");
            return false;
        }
        port = process.readLine().trimmed().toInt();
        return port > 0;
    }
    void stop()
    {
        if (process.state() == QProcess::NotRunning)
            return;
        process.kill();
        process.waitForFinished(20000);
    }

    // Forgets the answers and the request log of the previous test.
    void clear()
    {
        QDir dir(folder.path());
        for (const QString &name : dir.entryList(QDir::Files | QDir::Hidden))
            QVERIFY(dir.remove(name));
    }

    QString url() const { return QStringLiteral("%1://127.0.0.1:%2").arg(scheme).arg(port); }

    // The answer to the request for `name` ("page_346", "english_syn4.dat", "post_page_11").
    void put(const QString &name, const QByteArray &content)
    {
        QFile f(folder.filePath(name));
        QVERIFY(f.open(QIODevice::WriteOnly));
        QCOMPARE(f.write(content), content.size());
    }
    void setStatus(const QString &name, int status)
    {
        put(name + QStringLiteral(".status"), QByteArray::number(status));
    }
    void truncate(const QString &name) { put(name + QStringLiteral(".truncate"), {}); }
    void stall(const QString &name) { put(name + QStringLiteral(".stall"), {}); }

    // "GET /?page_id=346", "POST /?page_id=11", ... in the order they arrived.
    QStringList requests() const
    {
        QFile f(folder.filePath(QStringLiteral("requests.log")));
        if (!f.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(f.readAll()).split(u'\n', Qt::SkipEmptyParts);
    }
    // The body of the n-th POST (from 1).
    QByteArray posted(int n) const
    {
        QFile f(folder.filePath(QStringLiteral("posted_%1").arg(n)));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

private:
    QTemporaryDir folder;
    QProcess process;
    QString scheme = QStringLiteral("http");
    int port = 0;
};
