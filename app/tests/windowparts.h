#pragma once

// The parts of a running main window a test looks at: reached through the owner objects'
// interfaces, or found by object name as a screen reader or GUI driver would find them.

#include "app/appactions.h"
#include "app/colorqd.h"
#include "app/documentmanager.h"
#include "app/figuresupdater.h"
#include "app/lexora3.h"
#include "app/mytabitem.h"
#include "app/qmyaction.h"
#include "app/qmytextedit.h"
#include "app/viewmanager.h"

#include "storage/settingsstore.h"
#include "synonyms/synonymstore.h"
#include "synonyms/widgets/quickspinpanel.h"

#include <QAction>
#include <QSettings>
#include <QDockWidget>
#include <QLabel>
#include <QTabWidget>
#include <QTextBrowser>
#include <QToolBar>

namespace parts {

inline DocumentManager *documents(const Lexora3 &w)
{
    return w.documentManager();
}
inline QMyTextEdit *textEdit(const Lexora3 &w)
{
    return w.documentManager()->editor();
}
inline MyTabItem *item(const Lexora3 &w)
{
    return w.documentManager()->document();
}
inline QTabWidget *mainTab(const Lexora3 &w)
{
    return w.documentManager()->tabs(View::Edit);
}
inline QTabWidget *flatTab(const Lexora3 &w)
{
    return w.documentManager()->tabs(View::Flat);
}
inline QTabWidget *spunTab(const Lexora3 &w)
{
    return w.documentManager()->tabs(View::Spun);
}
inline QTabWidget *webTab(const Lexora3 &w)
{
    return w.documentManager()->tabs(View::Html);
}
inline MyTabItem *flatItem(const Lexora3 &w)
{
    return w.documentManager()->current(View::Flat);
}
inline MyTabItem *spunItem(const Lexora3 &w)
{
    return w.documentManager()->current(View::Spun);
}
inline MyTabItem *webItem(const Lexora3 &w)
{
    return w.documentManager()->current(View::Html);
}
inline QMyTextEdit *flatTextEdit(const Lexora3 &w)
{
    return w.documentManager()->editor(View::Flat);
}
inline QMyTextEdit *spunTextEdit(const Lexora3 &w)
{
    return w.documentManager()->editor(View::Spun);
}
inline QTextBrowser *webTextEdit(const Lexora3 &w)
{
    return w.documentManager()->browser();
}

template <typename T = QWidget> T *child(const Lexora3 &w, const char *name)
{
    T *found = w.findChild<T *>(QString::fromLatin1(name));
    if (!found)
        qFatal("the window has no %s named \"%s\"", T::staticMetaObject.className(), name);
    return found;
}

inline QAction *action(const Lexora3 &w, AppActions::Id id)
{
    return w.appActions()->action(id);
}
inline QToolBar *toolbar(const Lexora3 &w, const char *name)
{
    return child<QToolBar>(w, name);
}
inline QDockWidget *dock(const Lexora3 &w, const char *name)
{
    return child<QDockWidget>(w, name);
}
inline QLabel *label(const Lexora3 &w, const char *name)
{
    return child<QLabel>(w, name);
}
inline QList<QMyAction *> recentFileQAs(const Lexora3 &w)
{
    return w.findChildren<QMyAction *>();
}
inline QColor getColor(const Lexora3 &w, int level)
{
    return w.findChild<ColorQD *>()->getLevelColor(level);
}
// Recomputes the status bar figures now instead of at the end of the event-loop pass.
inline void calcUniqueness(const Lexora3 &w)
{
    w.findChild<FiguresUpdater *>()->update();
}

} // namespace parts
