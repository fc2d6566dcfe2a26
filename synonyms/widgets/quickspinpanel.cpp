#include "quickspinpanel.h"

#include "caretword.h"
#include "qmytablewidget.h"

#include "synonyms/quickspintext.h"
#include "synonyms/synonymstore.h"

#include "spintax/spinstructure.h"
#include "storage/language.h"

#include <QHBoxLayout>
#include <QHash>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QScopedValueRollback>
#include <QSignalBlocker>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

using RowKind = QuickSpinModel::RowKind;

namespace {

const QIcon &icon(const QString &path)
{
    static QHash<QString, QIcon> icons;
    auto it = icons.find(path);
    if (it == icons.end())
        it = icons.insert(path, QIcon(path));
    return it.value();
}

// Replaces [start, end) of the document and returns the cursor selecting the new text.
QTextCursor replaceRange(QTextDocument *doc, int start, int end, const QString &text)
{
    QTextCursor c(doc);
    c.setPosition(start);
    c.setPosition(end, QTextCursor::KeepAnchor);
    c.insertText(text);
    c.setPosition(start);
    c.setPosition(start + int(text.size()), QTextCursor::KeepAnchor);
    return c;
}

QTextCursor selection(QTextDocument *doc, int start, int end)
{
    QTextCursor c(doc);
    c.setPosition(start);
    c.setPosition(end, QTextCursor::KeepAnchor);
    return c;
}

bool braced(const QString &s)
{
    return s.size() >= 2 && s.startsWith(u'{') && s.endsWith(u'}');
}

} // namespace

QuickSpinPanel::QuickSpinPanel(SynonymStore &store, GuardFlags &guards, QWidget *parent)
    : QFrame(parent), store(store), guards(guards)
{
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Sunken);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(3, 3, 3, 3);
    layout->setSpacing(3);

    auto *wordRow = new QHBoxLayout;
    starTB = new QToolButton(this);
    starTB->setIcon(icon(QStringLiteral(":/img/award_star_add.png")));
    starTB->setFixedWidth(30);
    curSynQL = new QLabel(this);
    curSynQL->setTextFormat(Qt::PlainText);
    curSynQL->setFixedWidth(80);
    previousTB = new QToolButton(this);
    previousTB->setIcon(icon(QStringLiteral(":/img/arrow_left.png")));
    previousTB->setFixedWidth(20);
    nextTB = new QToolButton(this);
    nextTB->setIcon(icon(QStringLiteral(":/img/arrow_right.png")));
    nextTB->setFixedWidth(20);
    wordRow->addWidget(starTB);
    wordRow->addWidget(curSynQL);
    wordRow->addStretch(1);
    wordRow->addWidget(previousTB);
    wordRow->addWidget(nextTB);
    layout->addLayout(wordRow);

    auto *addRow = new QHBoxLayout;
    addSynLE = new QLineEdit(this);
    addSynLE->setPlaceholderText(QStringLiteral("Add synonyms..."));
    validator = new QRegularExpressionValidator(quickspin::addFieldPattern(store.curLang), this);
    addSynLE->setValidator(validator);
    addSynPB = new QPushButton(QStringLiteral("Add"), this);
    addSynPB->setMaximumWidth(40);
    addRow->addWidget(addSynLE);
    addRow->addWidget(addSynPB);
    layout->addLayout(addRow);

    noListQL = new QLabel(this);
    noListQL->setObjectName(QStringLiteral("noListQL"));
    noListQL->setWordWrap(true);
    noListQL->setVisible(false);
    layout->addWidget(noListQL);

    synTW = new QMyTableWidget(this);
    layout->addWidget(synTW, 1);

    const auto modeButton = [this](const QString &text, bool checked) {
        auto *b = new QPushButton(text, this);
        b->setCheckable(true);
        b->setChecked(checked);
        b->setFixedWidth(70);
        return b;
    };
    spinPB = modeButton(QStringLiteral("Spin"), true);
    spinAllPB = modeButton(QStringLiteral("Spin All"), false);
    replacePB = modeButton(QStringLiteral("Replace"), false);
    replaceAllPB = modeButton(QStringLiteral("Replace All"), false);
    for (auto [left, right] : {std::pair{spinPB, spinAllPB}, std::pair{replacePB, replaceAllPB}}) {
        auto *row = new QHBoxLayout;
        row->addStretch(1);
        row->addWidget(left);
        row->addWidget(right);
        row->addStretch(1);
        layout->addLayout(row);
    }

    connect(addSynLE, &QLineEdit::returnPressed, this, &QuickSpinPanel::addSynonym);
    connect(addSynPB, &QPushButton::clicked, this, &QuickSpinPanel::addSynonym);
    connect(synTW, &QTableWidget::itemSelectionChanged, this, &QuickSpinPanel::synSelectionChanged);
    connect(synTW, &QMyTableWidget::favoriteRequested, this, &QuickSpinPanel::favorite);
    connect(synTW, &QMyTableWidget::learnRequested, this, &QuickSpinPanel::learn);
    connect(synTW, &QMyTableWidget::deleteRequested, this, &QuickSpinPanel::deleteSynonym);
    connect(spinPB, &QPushButton::toggled, this, &QuickSpinPanel::spinToggled);
    connect(spinAllPB, &QPushButton::toggled, this, &QuickSpinPanel::spinAllToggled);
    connect(replacePB, &QPushButton::toggled, this, &QuickSpinPanel::replaceToggled);
    connect(replaceAllPB, &QPushButton::toggled, this, &QuickSpinPanel::replaceAllToggled);

    // After a click on the panel the keyboard goes back to the text, so Tab and Shift+Tab step
    // on through the words. (Typing a synonym keeps the focus in the field.)
    for (QAbstractButton *b : std::initializer_list<QAbstractButton *>{
             starTB, previousTB, nextTB, spinPB, spinAllPB, replacePB, replaceAllPB})
        connect(b, &QAbstractButton::clicked, this, &QuickSpinPanel::returnFocus);
    connect(synTW, &QAbstractItemView::clicked, this, &QuickSpinPanel::returnFocus);
    updateNoListNote();
}

QuickSpinPanel::~QuickSpinPanel() = default;

// ---- modes ------------------------------------------------------------------------------------

QuickSpinPanel::Mode QuickSpinPanel::mode() const
{
    if (spinAllPB->isChecked())
        return Mode::SpinAll;
    if (replacePB->isChecked())
        return Mode::Replace;
    if (replaceAllPB->isChecked())
        return Mode::ReplaceAll;
    return Mode::Spin;
}

// Exactly one mode stays checked. The handlers set the other buttons with their signals blocked,
// so they do not run each other.
void QuickSpinPanel::setModeButtons(QPushButton *checkedButton, bool replaceMode)
{
    for (QPushButton *b : {spinPB, spinAllPB, replacePB, replaceAllPB}) {
        const QSignalBlocker block(b);
        b->setChecked(b == checkedButton);
    }
    synTW->setSelectionMode(replaceMode ? QAbstractItemView::SingleSelection
                                        : QAbstractItemView::MultiSelection);
}

void QuickSpinPanel::spinToggled(bool)
{
    setModeButtons(spinPB, false);
}

// Unchecking Spin All, Replace or Replace All falls back to Spin.
void QuickSpinPanel::spinAllToggled(bool checked)
{
    setModeButtons(checked ? spinAllPB : spinPB, false);
}

void QuickSpinPanel::replaceToggled(bool checked)
{
    setModeButtons(checked ? replacePB : spinPB, checked);
}

void QuickSpinPanel::replaceAllToggled(bool checked)
{
    setModeButtons(checked ? replaceAllPB : spinPB, checked);
}

void QuickSpinPanel::setValidator(const QString &code)
{
    validator->setRegularExpression(quickspin::addFieldPattern(code));
}

// ---- filling ----------------------------------------------------------------------------------

void QuickSpinPanel::showWord(const QString &current)
{
    shownWord = current;
    if (braced(current))
        loadQuickSynonyms(spintax::dissect(current));
    else
        loadQuickSynonyms(current);
}

void QuickSpinPanel::clearWord()
{
    const auto updating = guards.hold({GuardFlags::UpdatingList});
    shownWord.clear();
    model.clear();
    tickOrder.clear();
    synTW->clearSelection();
    synTW->setRowCount(0);
    setLabel(QString());
    updateNoListNote();
}

void QuickSpinPanel::followEdit(QTextEdit *edit)
{
    const QTextCursor cursor = edit->textCursor();
    shownWord = cursor.hasSelection() ? cursor.selectedText() : caretWord(cursor).text;
}

void QuickSpinPanel::returnFocus()
{
    if (QTextEdit *edit = editor ? editor() : nullptr)
        edit->setFocus(Qt::OtherFocusReason);
}

void QuickSpinPanel::updateNoListNote()
{
    const bool noList = store.allUserSyn.isEmpty();
    if (noList) {
        const int index = Language::indexOfCode(store.curLang);
        const QString name = index >= 0 ? Language::all().at(index).label : store.curLang;
        noListQL->setText(QStringLiteral("No synonym list for %1 yet.").arg(name));
    }
    noListQL->setVisible(noList);
}

void QuickSpinPanel::loadQuickSynonyms(const QString &word)
{
    if (isLoadingQuickly)
        return;
    const QScopedValueRollback<bool> loading(isLoadingQuickly, true);
    fillRows(word);
}

void QuickSpinPanel::loadQuickSynonyms(const QStringList &alternatives)
{
    if (alternatives.isEmpty() || isLoadingQuickly)
        return;
    const QScopedValueRollback<bool> loading(isLoadingQuickly, true);
    // The word is the first alternative with text: a group that starts with the blank
    // ("{|fast|quick}", as ticking "(blank)" first writes it) is still listed for "fast".
    const auto word = std::find_if(alternatives.cbegin(), alternatives.cend(),
                                   [](const QString &a) { return !a.trimmed().isEmpty(); });
    if (word == alternatives.cend()) {
        fillRows(QString());
        return;
    }
    fillRows(word->trimmed());

    // The group's alternatives are ticked in their order, a blank one as "(blank)"; those no
    // list holds become manual rows below the earlier ones.
    const auto updating = guards.hold({GuardFlags::UpdatingList});
    synTW->clearSelection();
    tickOrder.clear();
    for (const QString &alternative : alternatives) {
        if (alternative.trimmed().isEmpty()) {
            if (model.rowCount() > 0 && model.rows().at(0).kind == RowKind::Blank)
                selectRow(0);
            continue;
        }
        const QuickSpinModel::Placement p = model.placeAlternative(alternative);
        if (p.row < 0)
            continue;
        if (p.inserted)
            insertTableRow(p.row);
        selectRow(p.row);
    }
}

void QuickSpinPanel::fillRows(const QString &word)
{
    // The program's own selection changes while the rows are rebuilt are not choices.
    const auto updating = guards.hold({GuardFlags::UpdatingList});
    synTW->clearSelection();
    synTW->setRowCount(0);
    tickOrder.clear();
    loadEnglishSynonyms(word);
    setLabel(word);
    updateNoListNote();
}

void QuickSpinPanel::loadEnglishSynonyms(const QString &word)
{
    if (word.isEmpty()) {
        model.clear();
        return;
    }
    model.fill(word, store.candidateList(word));
    synTW->setRowCount(model.rowCount());
    for (int row = 0; row < model.rowCount(); ++row)
        setRowItems(row);
    selectRow(1);
}

void QuickSpinPanel::setRowItems(int row)
{
    const QuickSpinModel::Row &r = model.rows().at(row);
    auto *text = new QTableWidgetItem(r.text);
    text->setToolTip(r.text);
    if (!QuickSpinModel::isCandidate(r.kind)) {
        // Header rows: the text alone, with the default flags so that they can be ticked.
        synTW->setItem(row, QMyTableWidget::TextColumn, text);
        return;
    }
    const Qt::ItemFlags iconFlags = Qt::ItemIsEnabled;
    const Qt::ItemFlags textFlags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    text->setFlags(textFlags);

    const QString categoryPath = QuickSpinModel::categoryIcon(r.kind);
    auto *category = new QTableWidgetItem(icon(categoryPath), QString());
    category->setData(Qt::UserRole, categoryPath);
    category->setFlags(iconFlags);
    const QString starPath = QuickSpinModel::starIcon(r.kind);
    auto *star = new QTableWidgetItem(icon(starPath), QString());
    star->setData(Qt::UserRole, starPath);
    star->setFlags(iconFlags);

    synTW->setItem(row, QMyTableWidget::CategoryColumn, category);
    synTW->setItem(row, QMyTableWidget::StarColumn, star);
    synTW->setItem(row, QMyTableWidget::TextColumn, text);
    synTW->setItem(row, QMyTableWidget::TypeColumn,
                   new QTableWidgetItem(QuickSpinModel::typeCode(r.kind)));
    synTW->setItem(row, QMyTableWidget::GradeColumn,
                   new QTableWidgetItem(QuickSpinModel::gradeCode(r)));
}

void QuickSpinPanel::insertTableRow(int row)
{
    synTW->insertRow(row);
    setRowItems(row);
}

void QuickSpinPanel::selectRow(int row)
{
    if (QTableWidgetItem *item = synTW->item(row, QMyTableWidget::TextColumn))
        item->setSelected(true);
}

void QuickSpinPanel::setLabel(const QString &text)
{
    curSynQL->setText(text);
    curSynQL->setToolTip(text);
}

bool QuickSpinPanel::capitalWord() const
{
    const QString &word = model.word();
    return !word.isEmpty() && word.at(0).isUpper();
}

// ---- ticks ------------------------------------------------------------------------------------

// The table reports its selection in row order; the group needs the order of the clicks. Cells
// still ticked keep their place, newly ticked ones go last.
void QuickSpinPanel::syncTickOrder()
{
    const QList<QTableWidgetItem *> selected = synTW->selectedItems();
    tickOrder.removeIf([&](QTableWidgetItem *item) { return !selected.contains(item); });
    QList<QTableWidgetItem *> added;
    for (QTableWidgetItem *item : selected) {
        if (item->column() == QMyTableWidget::TextColumn && !tickOrder.contains(item))
            added.append(item);
    }
    std::sort(added.begin(), added.end(),
              [](QTableWidgetItem *a, QTableWidgetItem *b) { return a->row() < b->row(); });
    tickOrder.append(added);
}

QList<int> QuickSpinPanel::tickedRows() const
{
    QList<int> rows;
    rows.reserve(tickOrder.size());
    for (QTableWidgetItem *item : tickOrder)
        rows.append(item->row());
    return rows;
}

void QuickSpinPanel::synSelectionChanged()
{
    // Whether this change ticked or unticked the row just clicked (the current row): only such a
    // change is a choice for the Spin log, not a group written again after a removal.
    QTableWidgetItem *current = synTW->currentItem();
    const bool wasTicked = current && tickOrder.contains(current);
    syncTickOrder();
    const bool clicked = current && wasTicked != tickOrder.contains(current);
    if (guards.updatingList())
        return;
    QTextEdit *edit = editor ? editor() : nullptr;
    if (!edit)
        return;
    const QList<int> ticked = tickedRows();
    if (ticked.isEmpty()) {
        if (edit->textCursor().hasSelection())
            restoreDeselected(edit);
        return;
    }
    switch (mode()) {
    case Mode::Spin:
    case Mode::SpinAll:
        applySpin(ticked, clicked, edit);
        break;
    case Mode::Replace:
        applyReplace(ticked.last(), false, edit);
        break;
    case Mode::ReplaceAll:
        applyReplace(ticked.last(), true, edit);
        break;
    }
}

QuickSpinPanel::TextSpan QuickSpinPanel::target(QTextEdit *edit) const
{
    const QTextCursor cursor = edit->textCursor();
    if (cursor.hasSelection())
        return {cursor.selectionStart(), cursor.selectionEnd()};
    // The same word or group the list was filled for.
    const CaretWord word = caretWord(cursor);
    return {word.start, word.end};
}

void QuickSpinPanel::restoreDeselected(QTextEdit *edit)
{
    const auto guard = guards.hold({GuardFlags::AllowChanges});
    const QTextCursor cursor = edit->textCursor();
    const quickspin::Restored r =
        quickspin::deselectedText(curSynQL->text(), cursor.selectedText());
    setLabel(r.label);
    const int start = cursor.selectionStart();
    replaceRange(edit->document(), start, cursor.selectionEnd(), r.text);
    edit->setTextCursor(selection(edit->document(), start, start + int(r.label.size())));
    followEdit(edit);
}

void QuickSpinPanel::applySpin(const QList<int> &ticked, bool clicked, QTextEdit *edit)
{
    if (model.rowCount() == 0)
        return;
    const auto guard = guards.hold({GuardFlags::AllowChanges});
    const QStringList syns = model.curSyns();

    const int current = synTW->currentRow();
    if (clicked && ticked.size() > 1 && current > 0 && current < syns.size() &&
        !syns[current].isEmpty()) {
        const QTableWidgetItem *cell = synTW->item(current, QMyTableWidget::TextColumn);
        log(UsageLog::Kind::Quick,
            UsageLog::quickRecord(curSynQL->text(), syns[current], cell && cell->isSelected()));
    }

    const bool capital = capitalWord();
    QStringList entries;
    entries.reserve(ticked.size());
    for (int row : ticked)
        entries.append(quickspin::capitalised(syns.value(row), capital));
    const quickspin::GroupChoice choice =
        quickspin::groupText(entries, curSynQL->text(), model.word());
    setLabel(choice.label);

    const TextSpan span = target(edit);
    QTextDocument *doc = edit->document();
    const QString targetText = doc->toPlainText().mid(span.start, span.end - span.start);
    if (targetText.trimmed().isEmpty())
        return;

    QString group = choice.group;
    int start = span.start;
    if (mode() == Mode::Spin) {
        replaceRange(doc, span.start, span.end, group);
    } else {
        // Spin All: every whole-word occurrence of the target. When the target is a group being
        // rewritten, the occurrences of its inside are rewritten, so copies of the group
        // elsewhere follow it.
        QString word = targetText;
        const bool inside = braced(word) && braced(group);
        if (inside) {
            word = word.mid(1, word.size() - 2);
            group = group.mid(1, group.size() - 2);
        }
        QList<qsizetype> at = quickspin::wholeWordOccurrences(doc->toPlainText(), word);
        const int own = span.start + (inside ? 1 : 0);
        const bool covered = std::any_of(at.cbegin(), at.cend(), [&](qsizetype o) {
            return o < own + word.size() && o + word.size() > own;
        });
        if (!covered) {
            // A selection that is not a whole word is still the target itself.
            at.append(own);
            std::sort(at.begin(), at.end());
        }
        const int delta = int(group.size() - word.size());
        QTextCursor block(doc);
        block.beginEditBlock();
        for (auto it = at.crbegin(); it != at.crend(); ++it) {
            replaceRange(doc, int(*it), int(*it + word.size()), group);
            if (*it < span.start)
                start += delta;
        }
        block.endEditBlock();
        if (inside)
            group = u'{' + group + u'}';
    }
    edit->setTextCursor(selection(doc, start, start + int(group.size())));
    followEdit(edit);
}

void QuickSpinPanel::applyReplace(int row, bool all, QTextEdit *edit)
{
    if (row < 0 || row >= model.rowCount())
        return;
    const auto guard = guards.hold({GuardFlags::AllowChanges});
    const TextSpan span = target(edit);
    QTextDocument *doc = edit->document();
    const QString sel = doc->toPlainText().mid(span.start, span.end - span.start);
    if (sel.trimmed().isEmpty())
        return;
    // "(blank)" replaces the word by nothing.
    const QuickSpinModel::Row &chosen = model.rows().at(row);
    const QString r = chosen.kind == RowKind::Blank ? QString() : chosen.text;

    edit->setTextCursor(replaceRange(doc, span.start, span.end, r));
    if (nextWordStep)
        nextWordStep();

    QTextCursor after = edit->textCursor();
    const QString next = after.selectedText();
    int ns = after.selectionStart();
    int ne = after.selectionEnd();

    if (all) {
        const int delta = int(r.size() - sel.size());
        QList<TextSpan> done{{span.start, span.start + int(r.size())}};
        if (next == sel) {
            replaceRange(doc, ns, ne, r);
            ne = ns + int(r.size());
            done.append({ns, ne});
        }
        // Every further whole-word occurrence, forward and backward; the replacements made so
        // far are not searched again (a replacement may contain the word).
        QList<qsizetype> at = quickspin::wholeWordOccurrences(doc->toPlainText(), sel);
        at.removeIf([&](qsizetype o) {
            return std::any_of(done.cbegin(), done.cend(), [&](const TextSpan &d) {
                return o < d.end && o + sel.size() > d.start;
            });
        });
        QTextCursor block(doc);
        block.beginEditBlock();
        for (auto it = at.crbegin(); it != at.crend(); ++it) {
            const int o = int(*it);
            const int oe = o + int(sel.size());
            replaceRange(doc, o, oe, r);
            if (oe <= ns) {
                ns += delta;
                ne += delta;
            } else if (o >= ns && oe <= ne) {
                ne += delta;
            }
        }
        block.endEditBlock();
    }

    if (all)
        edit->setTextCursor(selection(doc, ns, ne));
    // The rows now belong to what the step selected: a word, or a group's alternatives.
    const QTextCursor landed = edit->textCursor();
    showWord(landed.hasSelection() ? landed.selectedText() : next);
}

// ---- edits ------------------------------------------------------------------------------------

void QuickSpinPanel::log(UsageLog::Kind kind, const QString &record) const
{
    UsageLog::append(store.workingFolder(), store.curLang, kind, record);
}

void QuickSpinPanel::addSynonym()
{
    const QString v = addSynLE->text().trimmed();
    if (v.isEmpty() || model.rowCount() == 0)
        return;
    const QString label = curSynQL->text();
    // Already listed (any case), manual entries included: only the log hears of it.
    if (model.indexOfEntry(v) >= 0) {
        addSynLE->clear();
        log(UsageLog::Kind::Add, UsageLog::record(label, v));
        return;
    }
    store.addUserSynonym(model.word(), v);
    log(UsageLog::Kind::Add, UsageLog::record(label, v));

    int row = -1;
    {
        const auto updating = guards.hold({GuardFlags::UpdatingList});
        // Listed as it is written into the text: capitalised while the word is.
        row = model.addUserSynonym(quickspin::capitalised(v, capitalWord()));
        insertTableRow(row);
    }
    addSynLE->clear();
    // Ticking the new synonym applies it like a click on it would.
    synTW->setCurrentItem(synTW->item(row, QMyTableWidget::TextColumn),
                          QItemSelectionModel::Select);
    addSynLE->setFocus();
}

void QuickSpinPanel::moveTableRow(int row, RowKind to)
{
    QTableWidgetItem *old = synTW->item(row, QMyTableWidget::TextColumn);
    const bool wasTicked = old && old->isSelected();
    const qsizetype tickIndex = tickOrder.indexOf(old);

    const auto updating = guards.hold({GuardFlags::UpdatingList});
    const int moved = model.moveRow(row, to);
    if (moved < 0)
        return;
    synTW->removeRow(row);
    insertTableRow(moved);
    if (wasTicked) {
        selectRow(moved);
        // The moved synonym keeps its place in the group written into the text.
        QTableWidgetItem *now = synTW->item(moved, QMyTableWidget::TextColumn);
        tickOrder.removeAll(now);
        tickOrder.insert(qBound(qsizetype(0), tickIndex, tickOrder.size()), now);
    }
}

void QuickSpinPanel::favorite(int row)
{
    if (row < QuickSpinModel::headerRows || row >= model.rowCount())
        return;
    const QuickSpinModel::Row r = model.rows().at(row);
    const QString label = curSynQL->text();
    switch (r.kind) {
    case RowKind::Server:
    case RowKind::UserSynonym:
        store.markFavourite(model.word(), r.entry, QuickSpinModel::storeKind(r.kind));
        log(UsageLog::Kind::Favourite, UsageLog::record(label, r.text));
        break;
    case RowKind::Best:
    case RowKind::Better:
    case RowKind::Good:
    case RowKind::UserFavourite:
        store.unmarkFavourite(model.word(), r.entry, QuickSpinModel::storeKind(r.kind));
        log(UsageLog::Kind::Unfavourite, UsageLog::record(label, r.text));
        break;
    case RowKind::ManualFavourite:
    case RowKind::Manual:
        break; // the panel's own until the next fill
    case RowKind::Blank:
    case RowKind::Word:
        return;
    }
    moveTableRow(row, QuickSpinModel::favouriteTarget(r.kind));
}

void QuickSpinPanel::learn(int row)
{
    if (row < QuickSpinModel::headerRows || row >= model.rowCount())
        return;
    const QuickSpinModel::Row r = model.rows().at(row);
    if (r.kind != RowKind::ManualFavourite && r.kind != RowKind::Manual)
        return;
    store.learn(model.word(), r.text, r.kind == RowKind::ManualFavourite);
    moveTableRow(row, QuickSpinModel::learnTarget(r.kind));
}

void QuickSpinPanel::deleteSynonym(int row)
{
    if (row < QuickSpinModel::headerRows || row >= model.rowCount())
        return;
    const QuickSpinModel::Row r = model.rows().at(row);
    if (r.text.trimmed().isEmpty())
        return;
    const QString word = model.word();
    const QMessageBox::StandardButton answer = QMessageBox::question(
        this, QStringLiteral("Remove Synonym"),
        QStringLiteral("Are you sure you want to permanently remove \"") + r.text +
            QStringLiteral("\" from the list of synonyms for \"") + word + QStringLiteral("\"?"),
        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    if (answer != QMessageBox::Yes)
        return;

    {
        const auto updating = guards.hold({GuardFlags::UpdatingList});
        tickOrder.removeAll(synTW->item(row, QMyTableWidget::TextColumn));
        model.removeRow(row);
        synTW->removeRow(row);
    }
    if (r.kind != RowKind::ManualFavourite && r.kind != RowKind::Manual)
        store.removeSynonym(word, r.entry, QuickSpinModel::storeKind(r.kind));
    log(UsageLog::Kind::Delete, UsageLog::record(curSynQL->text(), r.text));

    // The group in the text loses the removed synonym too.
    QTextEdit *edit = editor ? editor() : nullptr;
    if (edit && edit->textCursor().hasSelection())
        synSelectionChanged();
}
