#include "qjsreplaceeveryonesfavorite.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

QJSReplaceEveryonesFavorite::QJSReplaceEveryonesFavorite(selection::AutoSelectSource source,
                                                         QWidget *parent)
    : QDialog(parent), source(std::move(source)), job(new selection::EditorJob(this)),
      qualityQCB(new QComboBox(this)), replacePB(new QPushButton(tr("Replace"), this)),
      keepQChB(new QCheckBox(tr("Keep the original word found in the article."), this)),
      onlySelectChB(new QCheckBox(tr("Only select the #1 best synonym."), this)),
      maxSynQLE(new QLineEdit(QStringLiteral("5"), this))
{
    setWindowTitle(tr("Replace Everyone's Favorites"));
    setModal(true);
    resize(250, 300);

    auto *title = new QLabel(tr("Replace Everyone's Favorites<br>"), this);
    title->setAlignment(Qt::AlignCenter);
    QFont font = title->font();
    font.setBold(true);
    font.setPointSize(11);
    title->setFont(font);

    auto *qualityLabel = new QLabel(tr("Select Quality Level:"), this);
    qualityLabel->setBuddy(qualityQCB);
    qualityQCB->setAccessibleName(tr("Select Quality Level:"));
    qualityQCB->addItems({tr("Good"), tr("Better"), tr("Best"), tr("Best->Better->Good")});
    auto *cancelPB = new QPushButton(tr("Cancel"), this);
    auto *qualityRow = new QHBoxLayout;
    qualityRow->addWidget(qualityQCB, 1);
    qualityRow->addWidget(replacePB);
    qualityRow->addWidget(cancelPB);

    auto *explanation =
        new QLabel(tr("<i>Good - Replaces The Most Terms</i><br>"
                      "<i>Better - Fewer Replacements, Higher Quality</i><br>"
                      "<i>Best - Fewest Replacements, Highest Quality</i><br>"
                      "<i>Best->Better->Good - Performs three replacement passes in the stated "
                      "order(Best, Better then Good)</i><br>"),
                   this);
    explanation->setWordWrap(true);

    auto *advanced = new QGroupBox(tr("Advance Settings (Optional)"), this);
    keepQChB->setChecked(true);
    onlySelectChB->setChecked(false);
    auto *maxLabel = new QLabel(tr("Max Synonyms:"), advanced);
    maxLabel->setBuddy(maxSynQLE);
    maxSynQLE->setAccessibleName(tr("Max Synonyms:"));
    maxSynQLE->setFixedWidth(50);
    auto *maxRow = new QHBoxLayout;
    maxRow->addWidget(maxLabel);
    maxRow->addWidget(maxSynQLE);
    maxRow->addStretch();
    auto *advancedLayout = new QVBoxLayout(advanced);
    advancedLayout->addWidget(keepQChB);
    advancedLayout->addWidget(onlySelectChB);
    advancedLayout->addLayout(maxRow);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(title);
    layout->addWidget(qualityLabel);
    layout->addLayout(qualityRow);
    layout->addWidget(explanation);
    layout->addWidget(advanced);
    layout->addStretch();

    connect(replacePB, &QPushButton::clicked, this, &QJSReplaceEveryonesFavorite::replace);
    connect(cancelPB, &QPushButton::clicked, this, &QJSReplaceEveryonesFavorite::cancel);
    connect(job, &selection::EditorJob::finished, this, [this](bool changed) {
        replacePB->setEnabled(true);
        emit replaced(changed);
    });
}

QList<int> QJSReplaceEveryonesFavorite::passes() const
{
    return selection::favouritePasses(qualityQCB->currentIndex());
}

selection::AutoSelectOptions QJSReplaceEveryonesFavorite::options(int maxPhraseWord) const
{
    selection::AutoSelectOptions o;
    o.max = maxPhraseWord;
    bool ok = false;
    o.max2 = maxSynQLE->text().trimmed().toInt(&ok);
    if (!ok)
        o.max2 = 1;
    o.keep = keepQChB->isChecked();
    o.numberOne = onlySelectChB->isChecked();
    return o;
}

void QJSReplaceEveryonesFavorite::replace(bool)
{
    if (!source.editor || !source.lists)
        return;
    selection::SynonymLists lists = source.lists();
    const selection::AutoSelectOptions o = options(lists.maxPhraseWord);
    QSet<QString> terms = source.protectedTerms ? source.protectedTerms() : QSet<QString>();
    const bool started = job->start(
        source.editor(),
        [lists = std::move(lists), terms = std::move(terms), levels = passes(),
         o](const QString &text, const selection::Progress &progress) {
            return selection::autoSelectPasses(text, lists, terms, levels, o, progress);
        },
        true, source.guarded);
    if (started)
        replacePB->setEnabled(false);
}

void QJSReplaceEveryonesFavorite::cancel(bool)
{
    hide();
}
