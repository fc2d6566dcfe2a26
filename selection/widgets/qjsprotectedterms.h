#pragma once

#include <QDialog>

class LocalDatabase;
class ProtectedTerms;
class QComboBox;
class QListWidget;

// "Protected Terms": the user's categories of protected terms and the terms of the current
// category. The terms themselves live in ProtectedTerms, which auto-select reads; every button
// changes it (and through it the database) at once.
class QJSProtectedTerms final : public QDialog
{
    Q_OBJECT

public:
    // `terms` outlives the dialog.
    explicit QJSProtectedTerms(ProtectedTerms &terms, QWidget *parent = nullptr);
    Q_DISABLE_COPY_MOVE(QJSProtectedTerms)

    // Reads the terms when they are not read yet (the window calls it as soon as the database
    // is open, so the terms protect from start-up on) and fills the dialog.
    void myInit(LocalDatabase *database = nullptr);
    // myInit(), then shows the dialog.
    void show2();

public slots:
    void catChanged(const QString &category);
    void addCat(bool checked = false);
    void deleteCat(bool checked = false);
    void addTerm(bool checked = false);
    void deleteTerm(bool checked = false);
    void deleteAll(bool checked = false);

private:
    void fillCategories();

    ProtectedTerms &terms;
    QComboBox *catQCB;
    QListWidget *termQLW;
};
