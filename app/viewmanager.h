#pragma once

#include "spunlinks.h"

#include <QObject>
#include <QPointer>

#include <utility>

class Lexora3;
class MyTabItem;
class QMyTextEdit;
class QPoint;
class QTabWidget;

// The four views of the main window (edit, flat, spun, HTML): switching between them, keeping
// the four tab widgets at one index, filling the flat and spun editors and the HTML browser
// from the generator, and the links from a spun phrase back to its source.
//
// Text with a `{` that has no partner cannot be spun: the flat, spun and HTML views then show
// the document text unchanged (the status bar says which brace is at fault).
class ViewManager final : public QObject
{
    Q_OBJECT

public:
    explicit ViewManager(Lexora3 *window);
    Q_DISABLE_COPY_MOVE(ViewManager)

    // The view entries (Ctrl+1 ... Ctrl+4).
    void editViewClicked();
    void flatViewClicked();
    void spunViewClicked();
    void webViewClicked();

    // A companion tab was chosen; each acts only while its own view is shown.
    void documentTabChanged(int index);
    void flatTabChanged(int index);
    void spunTabChanged(int index);
    void webTabChanged(int index);

    // Writes a random spin of the document over the spun editor (recording the links when
    // `saveToMap`), or the flat spin over the flat editor, with one cursor insertion and the
    // cursor left at 0.
    void newSpin(bool saveToMap);
    void newFlatSpin(bool saveToMap);

    // A press in `editor` at `pos`: in a spun editor, selects in the document the source of
    // the spun phrase under the click.
    void linkSpunClick(QMyTextEdit *editor, const QPoint &pos);
    // The mouse over a spun editor: marks the spun phrase under it in yellow.
    void highlightSpunWord(QMyTextEdit *editor, const QPoint &pos);

    // The spun-text links of the last recorded spin (empty before the first one).
    const SpunLinks &links() const { return spunLinks; }

    // Deletes the first alternative of every group of the document as one undo step.
    void removeOriginalWord();

private:
    // False while a tab is being added to or removed from the four pages one after another;
    // indexes then name different documents in different pages.
    bool pagesAligned() const;
    // Brings the pages back to one index once a tab was added or removed, and refreshes the
    // view on screen.
    void scheduleRealign();
    void realign();
    // Makes `index` current in every page but `except` without running the tab-changed
    // handlers, and takes the current tabs into the window's fields.
    void alignPages(int index, QTabWidget *except);
    void setViewFonts();
    void titleFrom(MyTabItem *tab);
    // The HTML view's content: the spun text when `preferSpun` and it is not blank, otherwise
    // a fresh spin of the document.
    void showWebSpin(bool preferSpun);
    // A random spin of the document, or the text itself when it cannot be spun.
    QString spinOfDocument(bool saveToMap);
    // Character of `editor` under the point `pos` (viewport coordinates), or -1.
    static int characterAt(QMyTextEdit *editor, const QPoint &pos);
    // The link of the spun phrase under `pos`, while the links are current.
    std::optional<SpunLinks::Entry> linkAt(QMyTextEdit *editor, const QPoint &pos) const;
    // True while the recorded links still describe the texts on screen.
    bool linksCurrent() const;

    Lexora3 *w;
    bool switching = false;
    bool realignPending = false;
    SpunLinks spunLinks;
    // The spin the links belong to: both documents and their revisions at the time.
    QPointer<QMyTextEdit> linkedSource;
    QPointer<QMyTextEdit> linkedSpun;
    int sourceRevision = -1;
    int spunRevision = -1;
    // Spun range of the hover mark, {-1, -1} when none is shown; a move within the same
    // phrase repaints nothing.
    std::pair<int, int> marked{-1, -1};
};
