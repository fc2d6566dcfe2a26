#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// The usage upload: every usage log of the working folder in one form, "&"-joined fields with
// the values sent as they are (the logs' own bytes, not percent-encoded).
//
// Field order: the five log kinds (Quick Spin ticks, added, starred, deleted, unstarred
// synonyms), within a kind the twelve languages in the order of the language box; then "res=" +
// the user identifier and "version=" + the program version, when any log was found. An empty
// log still sends its field ("eng_q=").
class UsageForm final
{
public:
    struct Log
    {
        QString path;
        qint64 size = 0; // bytes sent; what was appended later is not part of the upload
    };

    static UsageForm collect(const QString &tempDir, const QString &res, double version);

    bool isEmpty() const { return logs.isEmpty(); }
    const QByteArray &body() const { return form; }
    const QList<Log> &sentLogs() const { return logs; }

    // After the server took the upload: deletes the logs sent. A record appended to a log while
    // the upload was under way is kept in a fresh log for the next upload.
    void removeSentLogs() const;

private:
    QByteArray form;
    QList<Log> logs;
};
