#pragma once

// A Python test server (services/tests/servers/) run as a child process on 127.0.0.1 for the
// length of a test: started with one argument, it prints its port on the first line. Waits are
// bounded, and the process is killed when the object goes.

#include <QByteArray>
#include <QDeadlineTimer>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <memory>

class LocalServer final
{
public:
    LocalServer() = default;
    ~LocalServer() { stop(); }
    Q_DISABLE_COPY_MOVE(LocalServer)

    // Starts `script` (a file name in the servers folder) with `argument`; returns an empty
    // string when it listens, else what went wrong.
    QString start(const QString &script, const QString &argument)
    {
        process = std::make_unique<QProcess>();
        process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process->start(QStringLiteral("python3"),
                       {QStringLiteral(REWORDIX_TEST_SERVERS "/") + script, argument});
        if (!process->waitForStarted(20000))
            return QStringLiteral("python3 did not start: ") + process->errorString();
        const QDeadlineTimer deadline(20000);
        QByteArray line;
        while (!line.contains('\n') && !deadline.hasExpired()) {
            if (process->state() != QProcess::Running)
                return QStringLiteral("the server exited before listening");
            process->waitForReadyRead(int(qMax<qint64>(1, deadline.remainingTime())));
            line += process->readAllStandardOutput();
        }
        bool ok = false;
        port = line.trimmed().toInt(&ok);
        if (!ok || port <= 0)
            return QStringLiteral("the server printed no port within 20 s");
        return QString();
    }

    void stop()
    {
        if (process && process->state() != QProcess::NotRunning) {
            process->kill();
            process->waitForFinished(20000);
        }
        process.reset();
    }

    QString base() const { return QStringLiteral("http://127.0.0.1:%1").arg(port); }
    int port = 0;

    // The JSON lines of a record file written by a server.
    static QList<QJsonObject> records(const QString &file)
    {
        QList<QJsonObject> list;
        QFile f(file);
        if (!f.open(QIODevice::ReadOnly))
            return list;
        for (const QByteArray &line : f.readAll().split('\n'))
            if (!line.trimmed().isEmpty())
                list.append(QJsonDocument::fromJson(line).object());
        return list;
    }

private:
    std::unique_ptr<QProcess> process;
};
