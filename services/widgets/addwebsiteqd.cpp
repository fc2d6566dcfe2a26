#include "addwebsiteqd.h"

#include "services/wordpresssites.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

AddWebsiteQD::AddWebsiteQD(WordpressSites &sites, QWidget *parent) : QDialog(parent), sites(sites)
{
    setWindowTitle(QStringLiteral("Add Wordpress Site"));
    setModal(true);
    resize(450, 300);

    websiteTW = new QTableWidget(0, 3, this);
    websiteTW->setHorizontalHeaderLabels(
        {QStringLiteral("Website URL"), QStringLiteral("Username"), QStringLiteral("Password")});
    websiteTW->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    websiteTW->setAccessibleName(QStringLiteral("Wordpress sites"));
    for (const Website &site : sites.websiteALAL())
        appendRow(site);
    appendRow({});

    const QString note = QStringLiteral("Before adding the website, please ensure XML-RPC is "
                                        "enabled. Visit the Lexora website for more details.");
    noteQL = new QLabel(note, this);
    noteQL->setWordWrap(true);
    noteQL->setToolTip(note);

    cancelPB = new QPushButton(QStringLiteral("Cancel"), this);
    applyPB = new QPushButton(QStringLiteral("apply"), this);
    okPB = new QPushButton(QStringLiteral("OK"), this);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cancelPB);
    buttons->addWidget(applyPB);
    buttons->addWidget(okPB);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(websiteTW);
    layout->addWidget(noteQL);
    layout->addLayout(buttons);

    connect(cancelPB, &QPushButton::clicked, this, &AddWebsiteQD::cancel);
    connect(applyPB, &QPushButton::clicked, this, &AddWebsiteQD::apply);
    connect(okPB, &QPushButton::clicked, this, &AddWebsiteQD::ok);
}

void AddWebsiteQD::appendRow(const Website &site)
{
    const int row = websiteTW->rowCount();
    websiteTW->insertRow(row);
    websiteTW->setItem(row, 0, new QTableWidgetItem(site.url));
    websiteTW->setItem(row, 1, new QTableWidgetItem(site.username));
    websiteTW->setItem(row, 2, new QTableWidgetItem(site.password));
}

Website AddWebsiteQD::rowAt(int row) const
{
    auto text = [&](int column) {
        const QTableWidgetItem *item = websiteTW->item(row, column);
        return item ? item->text() : QString();
    };
    return {text(0), text(1), text(2)};
}

QList<Website> AddWebsiteQD::tableRows() const
{
    QList<Website> rows;
    for (int row = 0; row < websiteTW->rowCount(); ++row)
        rows.append(rowAt(row));
    return rows;
}

void AddWebsiteQD::apply(bool)
{
    QList<Website> list;
    for (int row = 0; row < websiteTW->rowCount();) {
        const Website site = rowAt(row);
        if (!WordpressSites::canAddWebsite(list, site)) {
            websiteTW->removeRow(row);
            continue;
        }
        list.append(site);
        ++row;
    }
    sites.setWebsiteALAL(list);
    const int last = websiteTW->rowCount() - 1;
    if (last < 0 || !rowAt(last).isBlank())
        appendRow({});
}

void AddWebsiteQD::ok(bool)
{
    apply();
    if (!sites.updateWebsite(tableRows())) {
        // The replacement ran in one transaction, so the stored list is the old one; the edits
        // stay in the table for another try.
        QMessageBox::warning(this, QStringLiteral("Rewordix"),
                             QStringLiteral("The Wordpress sites could not be saved; the saved "
                                            "list is unchanged."));
        return;
    }
    hide();
}

void AddWebsiteQD::cancel(bool)
{
    hide();
}
