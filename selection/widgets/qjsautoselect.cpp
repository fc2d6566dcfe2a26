#include "qjsautoselect.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

QJSAutoSelect::QJSAutoSelect(selection::AutoSelectSource source, QWidget *parent)
    : QDialog(parent), source(std::move(source)), job(new selection::EditorJob(this)),
      selectQCB(new QComboBox(this)), maxSynQLE(new QLineEdit(this)),
      frequencyQCB(new QComboBox(this)), autoSelectPB(new QPushButton(tr("Auto Select"), this))
{
    setWindowTitle(tr("Auto Select Synonyms"));
    setModal(true);

    selectQCB->addItems({tr("Words And Phrases"), tr("Phrases Only")});
    frequencyQCB->addItems({tr("Every Word/Phrase"), tr("Every Other Word/Phrase"),
                            tr("Every Third Word/Phrase"), tr("Every Fourth Word/Phrase")});

    auto *grid = new QGridLayout;
    const auto addRow = [&](int row, const QString &text, QWidget *control) {
        auto *label = new QLabel(text, this);
        label->setBuddy(control);
        control->setAccessibleName(text);
        grid->addWidget(label, row, 0);
        grid->addWidget(control, row, 1);
    };
    addRow(0, tr("Auto-Select:"), selectQCB);
    addRow(1, tr("Max Synonyms:"), maxSynQLE);
    addRow(2, tr("Frequency:"), frequencyQCB);

    auto *cancelPB = new QPushButton(tr("Cancel"), this);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(autoSelectPB);
    buttons->addWidget(cancelPB);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);

    connect(autoSelectPB, &QPushButton::clicked, this, &QJSAutoSelect::autoSelect);
    connect(cancelPB, &QPushButton::clicked, this, &QJSAutoSelect::cancel);
    connect(job, &selection::EditorJob::finished, this, [this](bool replaced) {
        autoSelectPB->setEnabled(true);
        emit autoSelected(replaced);
    });
}

selection::AutoSelectOptions QJSAutoSelect::options(int maxPhraseWord) const
{
    selection::AutoSelectOptions o;
    o.max = maxPhraseWord;
    bool ok = false;
    o.max2 = qMax(0, maxSynQLE->text().trimmed().toInt(&ok));
    if (!ok)
        o.max2 = 0;
    o.qlevel = selection::AllLists;
    o.keep = true;
    o.numberOne = false;
    o.phrasesOnly = selectQCB->currentIndex() == 1;
    o.frequency = qMax(0, frequencyQCB->currentIndex()) + 1;
    return o;
}

void QJSAutoSelect::autoSelect(bool)
{
    if (!source.editor || !source.lists)
        return;
    selection::SynonymLists lists = source.lists();
    const selection::AutoSelectOptions o = options(lists.maxPhraseWord);
    QSet<QString> terms = source.protectedTerms ? source.protectedTerms() : QSet<QString>();
    const bool started = job->start(
        source.editor(),
        [lists = std::move(lists), terms = std::move(terms),
         o](const QString &text, const selection::Progress &progress) {
            return selection::autoSelect2(text, lists, terms, o, progress);
        },
        false, source.guarded);
    if (started)
        autoSelectPB->setEnabled(false);
}

void QJSAutoSelect::cancel(bool)
{
    hide();
}
