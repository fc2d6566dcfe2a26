#pragma once

#include "editorjob.h"

#include <QDialog>

class QComboBox;
class QLineEdit;
class QPushButton;

// "Auto Select Synonyms": wraps every word and phrase of the main editor's article that has
// synonyms in a spin group of it and up to "Max Synonyms:" synonyms from all lists, protected
// terms left alone. "Phrases Only" leaves single words unwrapped; the frequency wraps only every
// second, third or fourth found word or phrase. The article is replaced in one Undo step and the
// dialog stays open for another run.
class QJSAutoSelect final : public QDialog
{
    Q_OBJECT

public:
    explicit QJSAutoSelect(selection::AutoSelectSource source, QWidget *parent = nullptr);
    Q_DISABLE_COPY_MOVE(QJSAutoSelect)

    // The run's options from the fields: an empty or non-numeric maximum counts as 0.
    selection::AutoSelectOptions options(int maxPhraseWord) const;

signals:
    void autoSelected(bool replaced);

public slots:
    void autoSelect(bool checked = false);
    void cancel(bool checked = false);

private:
    selection::AutoSelectSource source;
    selection::EditorJob *job;
    QComboBox *selectQCB;
    QLineEdit *maxSynQLE;
    QComboBox *frequencyQCB;
    QPushButton *autoSelectPB;
};
