#pragma once

#include <QDialog>
#include <QList>

class QLabel;
class QPushButton;
class QTableWidget;
class WordpressSites;
struct Website;

// The site editor "Add Wordpress Site": one editable row per known site (address, user name,
// password) and an empty row to type a new one. "apply" removes duplicate rows and takes the
// table as the site list, "OK" also saves it, "Cancel" hides the dialog and keeps the edits in
// the table. The table is filled once, when the dialog is created.
class AddWebsiteQD final : public QDialog
{
    Q_OBJECT
public:
    explicit AddWebsiteQD(WordpressSites &sites, QWidget *parent = nullptr);

    QTableWidget *websiteTW = nullptr;
    QLabel *noteQL = nullptr;
    QPushButton *cancelPB = nullptr;
    QPushButton *applyPB = nullptr;
    QPushButton *okPB = nullptr;

public slots:
    void apply(bool checked = false);
    void ok(bool checked = false);
    void cancel(bool checked = false);

private:
    Website rowAt(int row) const;
    QList<Website> tableRows() const;
    void appendRow(const Website &site);

    WordpressSites &sites;
};
