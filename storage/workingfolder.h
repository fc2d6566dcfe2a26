#pragma once

#include <QString>

namespace storage {

// The working folder, always with a trailing "/": the folder named by $REWORDIX_HOME when that
// variable is set and non-empty, else the per-user data folder
// QStandardPaths::writableLocation(GenericDataLocation) + "/rewordix_temp/" (on Windows the
// file-system root + "rewordix_temp/"). It holds the database, the synonym lists, the usage logs
// and downloads, so it is created on demand owner-only (0700). When it cannot be created the path
// is still returned (a warning is printed) and the users of the folder report their own errors.
QString workingFolder();

// Creates `folder` (and missing parents) when absent, the last level owner-only.
// Returns whether the folder exists afterwards.
bool ensureOwnerOnlyFolder(const QString &folder);

} // namespace storage
