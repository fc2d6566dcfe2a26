#include "unitspindock.h"

#include "selection/navigator.h"
#include "selection/paragraphwords.h"
#include "selection/spindocks.h"
#include "spintax/spinstructure.h"

#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextEdit>
#include <QVBoxLayout>

namespace {

QPushButton *arrowButton(const QString &icon, const QString &name, QWidget *parent)
{
    auto *button = new QPushButton(QIcon(icon), QString(), parent);
    button->setFixedSize(25, 22);
    button->setAccessibleName(name);
    button->setToolTip(name);
    return button;
}

// Ticked rows keep their highlight when the list loses the focus.
void keepSelectionVisible(QListWidget *list)
{
    QPalette palette = list->palette();
    for (QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText})
        palette.setColor(QPalette::Inactive, role, palette.color(QPalette::Active, role));
    list->setPalette(palette);
    list->setSelectionMode(QAbstractItemView::MultiSelection);
}

} // namespace

UnitSpinDock::UnitSpinDock(Unit unit, GuardFlags &guards, QWidget *parent)
    : QWidget(parent), kind(unit), guards(guards)
{
    const bool sentence = unit == Unit::Sentence;
    const QString unitName = sentence ? QStringLiteral("sentence") : QStringLiteral("paragraph");
    auto *layout = new QVBoxLayout(this);
    auto *top = new QHBoxLayout;
    origL = new QLabel(this);
    origL->setObjectName(sentence ? QStringLiteral("origSentenceL") : QStringLiteral("origParaL"));
    origL->setAccessibleName(sentence ? QStringLiteral("Current sentence")
                                      : QStringLiteral("Current paragraph"));
    origL->setWordWrap(true);
    origL->setFixedHeight(13);
    // The unit's text must never widen the dock: an unbroken run of characters as wide as the
    // screen (or a million pixels) would otherwise set the window's minimum width.
    origL->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    if (!sentence)
        origL->setTextFormat(Qt::PlainText);
    previousPB = arrowButton(QStringLiteral(":/img/arrow_left.png"),
                             QStringLiteral("Previous ") + unitName, this);
    nextPB = arrowButton(QStringLiteral(":/img/arrow_right.png"),
                         QStringLiteral("Next ") + unitName, this);
    top->addWidget(origL, 1);
    top->addWidget(previousPB);
    top->addWidget(nextPB);
    layout->addLayout(top);

    list = new QListWidget(this);
    list->setObjectName(sentence ? QStringLiteral("sentenceLW") : QStringLiteral("paragraphLW"));
    list->setAccessibleName(sentence ? QStringLiteral("Sentence alternatives")
                                     : QStringLiteral("Paragraph alternatives"));
    keepSelectionVisible(list);
    layout->addWidget(list, 1);

    auto *bottom = new QHBoxLayout;
    if (sentence) {
        addLE = new QLineEdit(this);
        addLE->setObjectName(QStringLiteral("addSentenceLE"));
        addLE->setPlaceholderText(QStringLiteral("Add sentence..."));
        addLE->setAccessibleName(QStringLiteral("Add sentence"));
        bottom->addWidget(addLE, 1);
        connect(addLE, &QLineEdit::returnPressed, this, &UnitSpinDock::addEntry);
        rows = {spindocks::blankEntry()};
        list->addItem(spindocks::blankEntry());
    } else {
        addPTE = new QPlainTextEdit(this);
        addPTE->setObjectName(QStringLiteral("addPTE"));
        addPTE->setAccessibleName(QStringLiteral("Add paragraph"));
        addPTE->setMaximumHeight(60);
        bottom->addWidget(addPTE, 1);
    }
    addPB = new QPushButton(QStringLiteral("Add"), this);
    addPB->setAccessibleName(QStringLiteral("Add"));
    bottom->addWidget(addPB);
    layout->addLayout(bottom);

    connect(addPB, &QPushButton::clicked, this, &UnitSpinDock::addEntry);
    connect(previousPB, &QPushButton::clicked, this, &UnitSpinDock::previousRequested);
    connect(nextPB, &QPushButton::clicked, this, &UnitSpinDock::nextRequested);
    connect(list, &QListWidget::itemSelectionChanged, this, &UnitSpinDock::selectionChanged);
}

GuardFlags::Flag UnitSpinDock::allowFlag() const
{
    return kind == Unit::Sentence ? GuardFlags::AllowSenChanges : GuardFlags::AllowParaChanges;
}

GuardFlags::Flag UnitSpinDock::updatingFlag() const
{
    return kind == Unit::Sentence ? GuardFlags::UpdatingSenList : GuardFlags::UpdatingParaList;
}

void UnitSpinDock::fill(const QStringList &entries, const QString &label)
{
    const auto hold = guards.hold({updatingFlag()});
    rows = entries;
    // Typing changes the unit on every keystroke: a list of the same length keeps its items and
    // only takes the new texts, which spares rebuilding (and relaying out) every row.
    if (list->count() == entries.size()) {
        list->clearSelection();
        for (int i = 0; i < list->count(); ++i) {
            const QString shown = spindocks::shownText(entries.at(i));
            if (list->item(i)->text() != shown)
                list->item(i)->setText(shown);
        }
    } else {
        list->clear();
        for (const QString &entry : entries)
            list->addItem(spindocks::shownText(entry));
    }
    original = label;
    origL->setText(spindocks::shownText(label));
    if (kind == Unit::Paragraph)
        origL->setToolTip(spindocks::shownText(label, 5000));
}

void UnitSpinDock::loadEntries(const QStringList &alternatives, bool selectBlank)
{
    fill(spindocks::groupEntries(alternatives), alternatives.value(0));
    const auto hold = guards.hold({updatingFlag()});
    list->selectAll();
    if (!selectBlank)
        list->item(0)->setSelected(false);
}

void UnitSpinDock::loadText(const QString &text)
{
    fill({spindocks::blankEntry(), text}, text);
    const auto hold = guards.hold({updatingFlag(), allowFlag()});
    list->item(1)->setSelected(true);
}

void UnitSpinDock::loadStep(const QString &unit)
{
    const bool group = unit.startsWith(QLatin1Char('{')) && unit.endsWith(QLatin1Char('}'));
    if (!group) {
        fill({}, unit);
        return;
    }
    const QStringList alternatives = spintax::dissect(unit);
    QStringList further;
    for (qsizetype i = 1; i < alternatives.size(); ++i) {
        // A blank alternative is listed once; any other is listed as often as it occurs.
        if (alternatives[i].isEmpty() && further.contains(QString()))
            continue;
        further.append(alternatives[i]);
    }
    fill(further, alternatives.value(0));
    const auto hold = guards.hold({updatingFlag()});
    list->selectAll();
}

QStringList UnitSpinDock::tickedEntries() const
{
    QStringList ticked;
    const QModelIndexList selected = list->selectionModel()->selectedIndexes();
    for (const QModelIndex &index : selected)
        ticked.append(rows.value(index.row()));
    return ticked;
}

QTextCursor UnitSpinDock::target(const QTextCursor &cursor) const
{
    if (cursor.hasSelection())
        return cursor;
    if (kind == Unit::Sentence)
        return Navigator::curS(cursor);
    QTextCursor paragraph(cursor);
    paragraph.movePosition(QTextCursor::StartOfBlock);
    paragraph.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    return paragraph;
}

void UnitSpinDock::selectionChanged()
{
    if (!guards.allowChanges() || guards.value(updatingFlag()))
        return;
    QTextEdit *edit = editor ? editor() : nullptr;
    if (!edit)
        return;
    const auto hold = guards.hold({allowFlag()});
    const QString text = spindocks::tickedText(tickedEntries(), original);
    // Nothing to write (an unbalanced group was loaded as the empty text): leave the unit alone
    // rather than erase it.
    if (text.isEmpty())
        return;
    QTextCursor cursor = target(edit->textCursor());
    const int start = cursor.selectionStart();
    cursor.beginEditBlock();
    cursor.insertText(text);
    cursor.endEditBlock();
    cursor.setPosition(start);
    cursor.setPosition(start + int(text.size()), QTextCursor::KeepAnchor);
    edit->setTextCursor(cursor);
    emit unitWritten(text);
}

void UnitSpinDock::addEntry()
{
    const auto hold = guards.hold({allowFlag()});
    const QString text = addLE ? addLE->text() : paragraphWords(addPTE->toPlainText());
    if (addLE)
        addLE->clear();
    else
        addPTE->clear();
    if (text.trimmed().isEmpty() || rows.contains(text))
        return;
    rows.append(text);
    list->addItem(spindocks::shownText(text));
    // Ticking the new row rewrites the unit with it at once.
    list->item(list->count() - 1)->setSelected(true);
    if (addLE)
        addLE->setFocus();
    else
        addPTE->setFocus();
}
