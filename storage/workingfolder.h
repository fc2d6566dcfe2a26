#pragma once

#include <QString>

namespace storage {

// The outcome of preparing a folder for the program's private files.
struct FolderCheck
{
    QString error;          // why the folder cannot be used; empty when it can
    bool tightened = false; // an existing folder open to group or others was narrowed to 0700
    bool ok() const { return error.isEmpty(); }
};

// Creates `folder` (and missing parents) owner-only (0700) when absent. An existing folder must
// belong to the user running the program: one owned by someone else is refused (they could read
// or swap the database, which holds blog passwords and the Copyscape key). One that group or
// others may write to is narrowed to 0700, or refused when that fails.
FolderCheck prepareOwnerOnlyFolder(const QString &folder);

// prepareOwnerOnlyFolder(folder).ok().
bool ensureOwnerOnlyFolder(const QString &folder);

// The working folder, always with a trailing "/": the folder named by $REWORDIX_HOME when that
// variable is set and non-empty, else the per-user data folder
// QStandardPaths::writableLocation(GenericDataLocation) + "/rewordix_temp/" (on Windows the
// file-system root + "rewordix_temp/"). It holds the database, the synonym lists, the usage logs
// and downloads.
QString workingFolderPath();

struct WorkingFolder
{
    QString path;  // workingFolderPath()
    QString error; // why the folder is refused; empty when it is usable
    bool ok() const { return error.isEmpty(); }
};

// workingFolderPath(), prepared by prepareOwnerOnlyFolder(): the callers that must not go on with
// a refused folder (the editor's start-up, the command-line tool) check the error.
WorkingFolder openWorkingFolder();

// openWorkingFolder().path; a refused folder is printed as a warning, and the users of the folder
// (the database, the synonym files) refuse it again on their own.
QString workingFolder();

} // namespace storage
