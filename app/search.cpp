#include "search.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTextEdit>
#include <QVBoxLayout>

namespace {

template <typename Widget>
Widget *named(Widget *widget, const char *name, const QString &accessibleName)
{
    widget->setObjectName(QString::fromLatin1(name));
    widget->setAccessibleName(accessibleName);
    return widget;
}

} // namespace

Search::Search(GuardFlags &guards, std::function<QTextEdit *()> editor, QWidget *parent)
    : QDialog(parent), guards(guards), editor(std::move(editor))
{
    setWindowTitle(QStringLiteral("Find and Replace"));
    setModal(false);
    auto *layout = new QVBoxLayout(this);
    tabs = named(new QTabWidget(this), "searchTabs", QStringLiteral("Find and Replace"));
    layout->addWidget(tabs);

    auto *findPage = new QWidget;
    auto *findLayout = new QGridLayout(findPage);
    findLE = named(new QLineEdit, "findLE", QStringLiteral("Find what?"));
    findPB = named(new QPushButton(QStringLiteral("Find")), "findPB", QStringLiteral("Find"));
    matchCaseCB = named(new QCheckBox(QStringLiteral("Match Case")), "matchCaseCB",
                        QStringLiteral("Match Case"));
    wholeWordsCB = named(new QCheckBox(QStringLiteral("Whole Words Only")), "wholeWordsCB",
                         QStringLiteral("Whole Words Only"));
    auto *direction = named(new QGroupBox(QStringLiteral("Direction")), "directionGB",
                            QStringLiteral("Direction"));
    auto *directionLayout = new QHBoxLayout(direction);
    backwardRB = named(new QRadioButton(QStringLiteral("Backward")), "backwardRB",
                       QStringLiteral("Backward"));
    forwardRB =
        named(new QRadioButton(QStringLiteral("Forward")), "forwardRB", QStringLiteral("Forward"));
    forwardRB->setChecked(true);
    directionLayout->addWidget(backwardRB);
    directionLayout->addWidget(forwardRB);
    findLayout->addWidget(new QLabel(QStringLiteral("Find what?")), 0, 0);
    findLayout->addWidget(findLE, 0, 1);
    findLayout->addWidget(findPB, 0, 2);
    findLayout->addWidget(matchCaseCB, 1, 0, 1, 2);
    findLayout->addWidget(wholeWordsCB, 2, 0, 1, 2);
    findLayout->addWidget(direction, 3, 0, 1, 3);
    tabs->addTab(findPage, QStringLiteral("Find"));

    auto *replacePage = new QWidget;
    auto *replaceLayout = new QGridLayout(replacePage);
    replaceFindLE = named(new QLineEdit, "replaceFindLE", QStringLiteral("Find what?"));
    replaceWithLE = named(new QLineEdit, "replaceWithLE", QStringLiteral("Replace With:"));
    findNextPB = named(new QPushButton(QStringLiteral("Find Next")), "findNextPB",
                       QStringLiteral("Find Next"));
    replacePB =
        named(new QPushButton(QStringLiteral("Replace")), "replacePB", QStringLiteral("Replace"));
    replaceAllPB = named(new QPushButton(QStringLiteral("Replace All")), "replaceAllPB",
                         QStringLiteral("Replace All"));
    cancelPB =
        named(new QPushButton(QStringLiteral("Cancel")), "cancelPB", QStringLiteral("Cancel"));
    replaceMatchCaseCB = named(new QCheckBox(QStringLiteral("Match Case")), "replaceMatchCaseCB",
                               QStringLiteral("Match Case"));
    replaceLayout->addWidget(new QLabel(QStringLiteral("Find what?")), 0, 0);
    replaceLayout->addWidget(replaceFindLE, 0, 1);
    replaceLayout->addWidget(findNextPB, 0, 2);
    replaceLayout->addWidget(new QLabel(QStringLiteral("Replace With:")), 1, 0);
    replaceLayout->addWidget(replaceWithLE, 1, 1);
    replaceLayout->addWidget(replacePB, 1, 2);
    replaceLayout->addWidget(replaceMatchCaseCB, 2, 0, 1, 2);
    replaceLayout->addWidget(replaceAllPB, 2, 2);
    replaceLayout->addWidget(cancelPB, 3, 2);
    tabs->addTab(replacePage, QStringLiteral("Replace"));

    const auto enableWhileFilled = [](QLineEdit *field, const QList<QPushButton *> &buttons) {
        const auto update = [field, buttons] {
            for (QPushButton *button : buttons)
                button->setEnabled(!field->text().isEmpty());
        };
        connect(field, &QLineEdit::textChanged, field, update);
        update();
    };
    enableWhileFilled(findLE, {findPB});
    enableWhileFilled(replaceFindLE, {findNextPB, replacePB, replaceAllPB});

    connect(findPB, &QPushButton::clicked, this, &Search::find);
    connect(findLE, &QLineEdit::returnPressed, this, &Search::find);
    connect(findNextPB, &QPushButton::clicked, this, &Search::findNext);
    connect(replacePB, &QPushButton::clicked, this, &Search::replace);
    connect(replaceAllPB, &QPushButton::clicked, this, &Search::replaceAllHits);
    connect(cancelPB, &QPushButton::clicked, this, &Search::hide);
}

void Search::setVisible(bool visible)
{
    if (visible) {
        QLineEdit *field = tabs->currentIndex() == 1 ? replaceFindLE : findLE;
        field->setFocus();
    }
    QDialog::setVisible(visible);
}

bool Search::findIn(QTextEdit *editor, const QString &text, QTextDocument::FindFlags flags)
{
    if (!editor || text.isEmpty())
        return false;
    const QTextCursor hit = editor->document()->find(text, editor->textCursor(), flags);
    if (hit.isNull())
        return false;
    editor->setTextCursor(hit);
    return true;
}

int Search::replaceAll(QTextEdit *editor, const QString &text, const QString &replacement,
                       QTextDocument::FindFlags flags)
{
    if (!editor || text.isEmpty())
        return 0;
    QTextDocument *document = editor->document();
    QTextCursor edit(document);
    edit.beginEditBlock();
    int count = 0;
    // Each search starts after the previous insertion, so the replacement is never searched.
    QTextCursor from(document);
    for (QTextCursor hit = document->find(text, from, flags & ~QTextDocument::FindBackward);
         !hit.isNull(); hit = document->find(text, from, flags & ~QTextDocument::FindBackward)) {
        hit.insertText(replacement);
        from = hit;
        ++count;
    }
    edit.endEditBlock();
    QTextCursor start(document);
    editor->setTextCursor(start);
    return count;
}

bool Search::find()
{
    QTextDocument::FindFlags flags;
    if (matchCaseCB->isChecked())
        flags |= QTextDocument::FindCaseSensitively;
    if (wholeWordsCB->isChecked())
        flags |= QTextDocument::FindWholeWords;
    if (backwardRB->isChecked())
        flags |= QTextDocument::FindBackward;
    return findIn(editor(), findLE->text(), flags);
}

bool Search::findAgain()
{
    return tabs->currentIndex() == 1 ? findNext() : find();
}

QTextDocument::FindFlags Search::replaceFlags() const
{
    return replaceMatchCaseCB->isChecked() ? QTextDocument::FindCaseSensitively
                                           : QTextDocument::FindFlags();
}

bool Search::findNext()
{
    return findIn(editor(), replaceFindLE->text(), replaceFlags());
}

void Search::replace()
{
    QTextEdit *edit = editor();
    if (!edit || replaceFindLE->text().isEmpty())
        return;
    {
        const auto hold = guards.hold({GuardFlags::AllowChanges});
        QTextCursor cursor = edit->textCursor();
        cursor.insertText(replaceWithLE->text());
        edit->setTextCursor(cursor);
    }
    // Selecting the next hit is a move like Find Next: tracking follows it.
    findNext();
}

int Search::replaceAllHits()
{
    QTextEdit *edit = editor();
    if (!edit || replaceFindLE->text().isEmpty())
        return 0;
    // The caret ends at the document start: the position label follows, the docks and the
    // panel keep what they showed until the user moves.
    const auto hold = guards.hold({GuardFlags::AllowChanges});
    return replaceAll(edit, replaceFindLE->text(), replaceWithLE->text(), replaceFlags());
}
