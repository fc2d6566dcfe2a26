#pragma once

#include <QLockFile>
#include <QString>

// One copy of the program per working folder: two copies would each keep their own in-memory
// synonym store and write the same database and lists over each other. The first copy holds a
// lock file in the working folder for as long as it runs; a lock left by a copy that died is
// taken over.
class SingleCopy final
{
public:
    static constexpr const char *lockFileName = "rewordix.lock";

    // Tries to take the lock of `folder` (with or without a trailing "/").
    explicit SingleCopy(const QString &folder);
    Q_DISABLE_COPY_MOVE(SingleCopy)

    // False when another running copy holds the folder.
    bool isFirst() const { return lock.isLocked(); }

    // What the second copy tells the user before it exits.
    static QString alreadyRunningText() { return QStringLiteral("Rewordix is already running."); }

private:
    QLockFile lock;
};
