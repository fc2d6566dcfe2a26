#pragma once

#include <QStringList>

// Menu texts of the recent-file list (the list itself is kept by storage::addRecentFile):
// the File menu shows the first five paths, numbered from 1.
namespace recentfiles {

inline constexpr int shownEntries = 5;

// Menu texts of the first shownEntries paths: "1. /home/a.txt", "2. ...".
QStringList menuTexts(const QStringList &list);

// The path of a menu text: everything after the first "." and the character following it.
QString pathOfMenuText(const QString &text);

} // namespace recentfiles
