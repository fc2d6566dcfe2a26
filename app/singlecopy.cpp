#include "singlecopy.h"

#include <QDir>

SingleCopy::SingleCopy(const QString &folder)
    : lock(QDir(folder).filePath(QString::fromLatin1(lockFileName)))
{
    // A running copy may run for days: its lock never goes stale by age, only when the process
    // that wrote it no longer exists (QLockFile checks the process id on this host).
    lock.setStaleLockTime(0);
    lock.tryLock(0);
}
