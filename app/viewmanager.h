#pragma once

#include "spunlinks.h"
#include "view.h"

#include "spintax/generator.h"

#include <QObject>
#include <QPointer>

#include <array>
#include <utility>

class DocumentManager;
class GuardFlags;
class MyTabItem;
class QAction;
class QMyTextEdit;
class QPoint;
class QStackedWidget;
class QTabWidget;
class QTextEdit;

// The four views of the main window (edit, flat, spun, HTML): which one is on screen, switching
// between them, keeping the four pages at one document index, filling the flat and spun
// editors and the HTML browser from the generator, and the links from a spun phrase back to
// its source.
//
// Text with a `{` that has no partner cannot be spun: the flat, spun and HTML views then show
// the document text unchanged (the status bar says which brace is at fault).
class ViewManager final : public QObject
{
    Q_OBJECT

public:
    ViewManager(DocumentManager &documents, spintax::Generator &generator, GuardFlags &guards,
                QObject *parent = nullptr);
    Q_DISABLE_COPY_MOVE(ViewManager)

    View current() const { return view; }
    // The stacked widget holding the four pages in view order.
    QStackedWidget *pages() const { return stackedWidget; }
    // The four view entries of the toolbar, in view order; the one on screen is shown bold.
    void setViewActions(const std::array<QAction *, 4> &actions);

    // The editor of the view on screen: the document editor in the edit view, the flat or
    // spun editor in those views, the HTML browser in the HTML view.
    QTextEdit *currentViewEditor() const;
    // The editor the formatting tools and the editing commands write into: the document's own
    // editor (`textEdit`) whatever view is on screen. The flat, spun and HTML views show
    // generated text that the next view switch replaces, so a change there would be lost.
    QMyTextEdit *formattingEditor() const;

    void showView(View next);

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

public slots:
    void editViewClicked();
    void flatViewClicked();
    void spunViewClicked();
    void webViewClicked();
    // A tab was chosen in a page; each acts only while its own view is shown.
    void documentTabChanged(int index);
    void flatTabChanged(int index);
    void spunTabChanged(int index);
    void webTabChanged(int index);
    // A document was added or closed: the view on screen shows the current one again.
    void refreshView();

signals:
    void viewChanged(View view);
    // The editor the figures are read from, or the document behind it, may have changed.
    void editorsChanged();
    void titleChanged(const QString &name);

private:
    void companionTabChanged(View page, int index);
    void setViewFonts();
    void titleFrom(MyTabItem *tab);
    // Fills the view on screen from the current document.
    void fillView(bool preferSpun);
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

    DocumentManager &documents;
    spintax::Generator &generator;
    GuardFlags &guards;
    View view = View::Edit;
    QStackedWidget *stackedWidget = nullptr;
    std::array<QAction *, 4> viewActions{};
    // word + start position in the spun text ("fox17") -> {source start, source end, spun
    // start, spun end}, of the spin the spun view shows
    spintax::SpunMap spunMap;
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
