#pragma once

#include "selection/guardflags.h"
#include "synonyms/quickspinmodel.h"
#include "synonyms/usagelog.h"

#include <QFrame>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

class QLabel;
class QLineEdit;
class QMyTableWidget;
class QPushButton;
class QRegularExpressionValidator;
class QTableWidgetItem;
class QTextCursor;
class QTextEdit;
class QToolButton;
class SynonymStore;

// The content of the "Quick Spin" dock: the candidate list of the word under the caret, and the
// user's main spinning tool. Ticking rows writes a spin group over the word (Spin), over every
// whole-word occurrence of it (Spin All), or replaces the word and steps on (Replace, Replace
// All). The panel is also where synonyms are added, starred, learned and removed; every edit goes
// to the store (maps and tables at once) and most append a usage-log record.
//
// The window lends the panel its guard flags: allowChanges is cleared while the panel edits the
// text, so cursor tracking does not refill the panel for its own edits; while updatingList is set
// (by cursor tracking, and by the panel while it rebuilds rows) selection changes are not applied
// to the text.
class QuickSpinPanel final : public QFrame
{
    Q_OBJECT

public:
    QuickSpinPanel(SynonymStore &store, GuardFlags &guards, QWidget *parent = nullptr);
    ~QuickSpinPanel() override;
    Q_DISABLE_COPY_MOVE(QuickSpinPanel)

    // The main spin editor the panel writes into (the window's current textEdit).
    std::function<QTextEdit *()> editor;
    // The panel's next-word step (the window's word step, result dropped). The replace modes
    // move on with it.
    std::function<void()> nextWordStep;

    enum class Mode
    {
        Spin,
        SpinAll,
        Replace,
        ReplaceAll
    };
    Mode mode() const;

    const QuickSpinModel &rows() const { return model; }
    // The entries of the rows (entry i belongs to row i): "(blank)", the word lower-cased, ...
    QStringList curSyns() const { return model.curSyns(); }
    // The ticked rows in the order they were ticked.
    QList<int> tickedRows() const;

    // Hands the current word of the text to the panel: a spin group's alternatives, else the word.
    void showWord(const QString &current);
    // Forgets the word (language switch): no rows, no label.
    void clearWord();
    // The text the rows and ticks belong to: the word or group (braces included) last handed
    // to showWord(), or what the panel's own last edit left selected in the text (the group it
    // wrote, the word a Replace step moved on to). Cursor tracking refills the panel whenever
    // the text under the caret differs from it.
    QString currentWord() const { return shownWord; }

    // Dock layout, top to bottom.
    QToolButton *starTB = nullptr;
    QLabel *curSynQL = nullptr;
    QLabel *noListQL = nullptr; // shown while the language has no synonym list
    QToolButton *previousTB = nullptr;
    QToolButton *nextTB = nullptr;
    QLineEdit *addSynLE = nullptr;
    QPushButton *addSynPB = nullptr;
    QMyTableWidget *synTW = nullptr;
    QPushButton *spinPB = nullptr;
    QPushButton *spinAllPB = nullptr;
    QPushButton *replacePB = nullptr;
    QPushButton *replaceAllPB = nullptr;

public slots:
    void loadQuickSynonyms(const QString &word);
    void loadQuickSynonyms(const QStringList &alternatives);
    void synSelectionChanged();
    void addSynonym();
    void spinToggled(bool checked);
    void spinAllToggled(bool checked);
    void replaceToggled(bool checked);
    void replaceAllToggled(bool checked);
    void setValidator(const QString &code);

    // The table's row actions.
    void favorite(int row);
    void learn(int row);
    void deleteSynonym(int row);

private:
    struct TextSpan
    {
        int start = 0;
        int end = 0;
    };

    void fillRows(const QString &word);
    void loadEnglishSynonyms(const QString &word);
    void setRowItems(int row);
    void insertTableRow(int row);
    void selectRow(int row);
    void moveTableRow(int row, QuickSpinModel::RowKind to);
    void syncTickOrder();
    void setLabel(const QString &text);
    void log(UsageLog::Kind kind, const QString &record) const;
    bool capitalWord() const;
    void updateNoListNote();
    // The panel changed the text: its word is now what the edit left selected.
    void followEdit(QTextEdit *edit);
    void returnFocus();

    TextSpan target(QTextEdit *edit) const;
    void restoreDeselected(QTextEdit *edit);
    void applySpin(const QList<int> &ticked, bool clicked, QTextEdit *edit);
    void applyReplace(int row, bool all, QTextEdit *edit);
    void setModeButtons(QPushButton *checkedButton, bool replaceMode);

    SynonymStore &store;
    GuardFlags &guards;
    QuickSpinModel model;
    QString shownWord;
    QList<QTableWidgetItem *> tickOrder; // text cells of the ticked rows, in tick order
    bool isLoadingQuickly = false;
    QRegularExpressionValidator *validator = nullptr;
};
