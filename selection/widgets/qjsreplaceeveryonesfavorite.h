#pragma once

#include "editorjob.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

// "Replace everyone's favorites": wraps every word and phrase of the main editor's article that
// has community favourites of the chosen quality in a spin group. "Best->Better->Good" runs three
// passes, each on the previous result, so a phrase gets better or good favourites only when no
// earlier pass wrapped it. The article is replaced in one Undo step; the dialog stays open and
// keeps its fields for the rest of the run.
class QJSReplaceEveryonesFavorite final : public QDialog
{
    Q_OBJECT

public:
    explicit QJSReplaceEveryonesFavorite(selection::AutoSelectSource source,
                                         QWidget *parent = nullptr);
    Q_DISABLE_COPY_MOVE(QJSReplaceEveryonesFavorite)

    // The list levels of the chosen quality, one per pass.
    QList<int> passes() const;
    // The options from the fields: a non-numeric maximum counts as 1.
    selection::AutoSelectOptions options(int maxPhraseWord) const;

signals:
    void replaced(bool changed);

public slots:
    void replace(bool checked = false);
    void cancel(bool checked = false);

private:
    selection::AutoSelectSource source;
    selection::EditorJob *job;
    QComboBox *qualityQCB;
    QPushButton *replacePB;
    QCheckBox *keepQChB;
    QCheckBox *onlySelectChB;
    QLineEdit *maxSynQLE;
};
