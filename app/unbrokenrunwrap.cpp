#include "unbrokenrunwrap.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>

UnbrokenRunWrap::UnbrokenRunWrap(QTextEdit *editor)
    : QObject(editor), editor(editor), normalMode(editor->wordWrapMode())
{
    connect(editor->document(), &QTextDocument::contentsChange, this, &UnbrokenRunWrap::changed);
}

qsizetype UnbrokenRunWrap::longestRun(QStringView text)
{
    qsizetype longest = 0;
    qsizetype run = 0;
    for (const QChar c : text) {
        run = c.isSpace() ? 0 : run + 1;
        longest = qMax(longest, run);
    }
    return longest;
}

bool UnbrokenRunWrap::holdsLongRun(int from, int to) const
{
    const QTextDocument *document = editor->document();
    for (QTextBlock block = document->findBlock(from); block.isValid() && block.position() <= to;
         block = block.next()) {
        if (block.length() > longRun && longestRun(block.text()) >= longRun)
            return true;
    }
    return false;
}

void UnbrokenRunWrap::changed(int from, int, int added)
{
    // Breaking anywhere, every paragraph may hold the run; otherwise only the changed ones.
    const bool longRunThere = anywhere ? holdsLongRun(0, editor->document()->characterCount())
                                       : holdsLongRun(from, from + added);
    if (longRunThere == anywhere)
        return;
    anywhere = longRunThere;
    editor->setWordWrapMode(anywhere ? QTextOption::WrapAnywhere : normalMode);
}
