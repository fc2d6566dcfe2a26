#include "qjsprotectedterms.h"

#include "synonyms/protectedterms.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

using Result = ProtectedTerms::EditResult;

QJSProtectedTerms::QJSProtectedTerms(ProtectedTerms &terms, QWidget *parent)
    : QDialog(parent), terms(terms), catQCB(new QComboBox(this)), termQLW(new QListWidget(this))
{
    setWindowTitle(tr("Protected Terms"));
    setModal(true);
    resize(450, 300);

    auto *catLabel = new QLabel(tr("Protected Terms Category"), this);
    catLabel->setBuddy(catQCB);
    catQCB->setAccessibleName(tr("Protected Terms Category"));
    auto *addCatPB = new QPushButton(tr("Add Category"), this);
    auto *deleteCatPB = new QPushButton(tr("Delete Category"), this);
    auto *catRow = new QHBoxLayout;
    catRow->addWidget(catQCB, 1);
    catRow->addWidget(addCatPB);
    catRow->addWidget(deleteCatPB);

    auto *termLabel = new QLabel(tr("Protected Terms Under This Category"), this);
    termLabel->setBuddy(termQLW);
    termQLW->setAccessibleName(tr("Protected Terms Under This Category"));

    auto *addTermPB = new QPushButton(tr("Add Term"), this);
    auto *deleteTermPB = new QPushButton(tr("Delete Term"), this);
    auto *deleteAllPB = new QPushButton(tr("Delete All Terms"), this);
    auto *closePB = new QPushButton(tr("Close"), this);
    auto *buttonRow = new QHBoxLayout;
    buttonRow->addWidget(addTermPB);
    buttonRow->addWidget(deleteTermPB);
    buttonRow->addWidget(deleteAllPB);
    buttonRow->addStretch();
    buttonRow->addWidget(closePB);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(catLabel);
    layout->addLayout(catRow);
    layout->addWidget(termLabel);
    layout->addWidget(termQLW);
    layout->addLayout(buttonRow);

    connect(catQCB, &QComboBox::currentTextChanged, this, &QJSProtectedTerms::catChanged);
    connect(addCatPB, &QPushButton::clicked, this, &QJSProtectedTerms::addCat);
    connect(deleteCatPB, &QPushButton::clicked, this, &QJSProtectedTerms::deleteCat);
    connect(addTermPB, &QPushButton::clicked, this, &QJSProtectedTerms::addTerm);
    connect(deleteTermPB, &QPushButton::clicked, this, &QJSProtectedTerms::deleteTerm);
    connect(deleteAllPB, &QPushButton::clicked, this, &QJSProtectedTerms::deleteAll);
    connect(closePB, &QPushButton::clicked, this, &QWidget::hide);

    fillCategories();
}

void QJSProtectedTerms::myInit(LocalDatabase *database)
{
    if (terms.isLoaded() || !terms.myInit(database))
        return;
    fillCategories();
}

void QJSProtectedTerms::show2()
{
    myInit();
    show();
}

void QJSProtectedTerms::fillCategories()
{
    {
        const QSignalBlocker block(catQCB);
        catQCB->clear();
        catQCB->addItems(terms.categories());
    }
    catQCB->setEnabled(catQCB->count() > 0);
    termQLW->clear();
    termQLW->setEnabled(false);
    catChanged(catQCB->currentText());
}

void QJSProtectedTerms::catChanged(const QString &category)
{
    if (!terms.hasCategory(category))
        return;
    termQLW->clear();
    const QStringList list = terms.terms(category);
    termQLW->addItems(list);
    termQLW->setEnabled(!list.isEmpty());
}

void QJSProtectedTerms::addCat(bool)
{
    bool ok = false;
    const QString name = QInputDialog::getText(
        this, tr("Add Category"), tr("Enter New Category Name"), QLineEdit::Normal, QString(), &ok);
    if (!ok)
        return;
    switch (terms.addCat(name)) {
    case Result::Exists:
        QMessageBox::critical(this, tr("Add Category Error"), tr("Category already exists."));
        return;
    case Result::Ignored:
        return;
    case Result::Done:
        break;
    }
    {
        const QSignalBlocker block(catQCB);
        catQCB->addItem(name);
        catQCB->setCurrentIndex(catQCB->count() - 1);
    }
    catQCB->setEnabled(true);
    termQLW->clear();
    termQLW->setEnabled(false); // a new category has no terms
}

void QJSProtectedTerms::deleteCat(bool)
{
    const QString category = catQCB->currentText();
    if (!catQCB->isEnabled() || !terms.hasCategory(category))
        return;
    terms.deleteCat(category);
    termQLW->clear();
    termQLW->setEnabled(false);
    catQCB->removeItem(catQCB->currentIndex()); // shows the terms of the next current category
    catQCB->setEnabled(catQCB->count() > 0);
}

void QJSProtectedTerms::addTerm(bool)
{
    const QString category = catQCB->currentText();
    if (category.trimmed().isEmpty())
        return;
    bool ok = false;
    const QString term = QInputDialog::getText(this, tr("Add Term"), tr("Enter New Term"),
                                               QLineEdit::Normal, QString(), &ok);
    if (!ok || term.isEmpty())
        return;
    if (terms.addTerm(category, term) == Result::Exists) {
        QMessageBox::critical(this, tr("Add Term Error"), tr("Item already exists."));
        return;
    }
    termQLW->setEnabled(true);
    termQLW->addItem(term);
}

void QJSProtectedTerms::deleteTerm(bool)
{
    QListWidgetItem *item = termQLW->currentItem();
    if (!item || !item->isSelected()) {
        QMessageBox::critical(this, tr("Delete Term Error"), tr("No Selected Term"));
        return;
    }
    const QString category = catQCB->currentText();
    terms.deleteTerm(category, item->text());
    delete termQLW->takeItem(termQLW->row(item));
    if (terms.terms(category).isEmpty())
        termQLW->setEnabled(false);
}

void QJSProtectedTerms::deleteAll(bool)
{
    terms.deleteAll(catQCB->currentText());
    termQLW->clear();
    termQLW->setEnabled(false);
}
