#pragma once

#include "selection/guardflags.h"
#include "selection/spindocks.h"

#include <QFrame>
#include <QList>
#include <QStringList>
#include <QWidget>

#include <functional>

class QHBoxLayout;
class QLabel;
class QListWidget;
class QPushButton;
class QScrollArea;
class QTextEdit;

// One word column of the Rapid Spin dock: the word above the list of its synonyms. A column made
// for a spin group starts with the group's further alternatives ticked.
class QBottomList final : public QFrame
{
    Q_OBJECT

public:
    QBottomList(const spindocks::RapidColumn &column, const QStringList &synonyms,
                QWidget *parent = nullptr);
    Q_DISABLE_COPY_MOVE(QBottomList)

    QStringList tickedSynonyms() const;
    // The text the column writes: its word, or a spin group of the word and the ticked synonyms.
    QString piece() const;

    const QString wordStr;
    QLabel *word = nullptr;
    QListWidget *list = nullptr;
    QStringList curSyns; // entry of each row

signals:
    void selChanged();

private:
    spindocks::RapidColumn column;
    bool allowChanges = true;
};

// The content of the "Rapid Spin" dock: the rapid sentence as a row of word columns. Ticking
// synonyms rewrites the sentence with a spin group for every word that has ticked ones.
class RapidSpinDock final : public QWidget
{
    Q_OBJECT

public:
    RapidSpinDock(GuardFlags &guards, QWidget *parent = nullptr);
    Q_DISABLE_COPY_MOVE(RapidSpinDock)

    // The main spin editor the dock writes into, and the synonyms offered for a word.
    std::function<QTextEdit *()> editor;
    std::function<QStringList(const QString &)> synonymsFor;

    // Rebuilds the columns for `text` (the columns' ticks are not kept).
    void loadRapidSentence(const QString &text);
    // What the label above the columns names (the loaded text unless told otherwise).
    void setLabel(const QString &text);
    const QList<QBottomList *> &columns() const { return bottomLists; }
    // The sentence as the dock knows it in the text: the loaded one, then what it last wrote.
    QString currentText() const { return current; }

    QLabel *origRapidSentenceL = nullptr;
    QPushButton *previousPB = nullptr;
    QPushButton *nextPB = nullptr;
    QScrollArea *qsa = nullptr;

signals:
    void previousRequested();
    void nextRequested();
    // The dock rewrote its sentence with `text` (now selected in the editor).
    void sentenceWritten(const QString &text);

private:
    void rewrite();

    GuardFlags &guards;
    QHBoxLayout *rapidQSAHBL = nullptr;
    QList<QBottomList *> bottomLists;
    QString current;
};
