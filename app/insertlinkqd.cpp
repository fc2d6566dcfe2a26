#include "insertlinkqd.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTextCursor>
#include <QTextEdit>
#include <QVBoxLayout>

InsertLinkQD::InsertLinkQD(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Insert Link"));
    setModal(true);
    setFixedSize(270, 150);

    urlLE = new QLineEdit(QStringLiteral("http://"));
    titleLE = new QLineEdit;
    classLE = new QLineEdit;
    targetCB = new QComboBox;
    // In HtmlLink::Target order.
    targetCB->addItems({QStringLiteral("None set"), QStringLiteral("Open in the same window"),
                        QStringLiteral("Open in a new window")});

    auto *grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("Link URL:")), 0, 0);
    grid->addWidget(urlLE, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Title:")), 1, 0);
    grid->addWidget(titleLE, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("Class:")), 2, 0);
    grid->addWidget(classLE, 2, 1);
    grid->addWidget(new QLabel(QStringLiteral("Target:")), 3, 0);
    grid->addWidget(targetCB, 3, 1);

    insertPB = new QPushButton(QStringLiteral("&Insert"));
    cancelPB = new QPushButton(QStringLiteral("&Cancel"));
    insertPB->setDefault(true);
    connect(insertPB, &QPushButton::clicked, this, &InsertLinkQD::insert);
    connect(cancelPB, &QPushButton::clicked, this, &InsertLinkQD::reject);
    auto *buttons = new QHBoxLayout;
    buttons->setSpacing(3);
    buttons->addStretch();
    buttons->addWidget(insertPB);
    buttons->addWidget(cancelPB);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);
}

void InsertLinkQD::prepare(QTextEdit *target)
{
    editor = target;
    QString selected = target ? target->textCursor().selectedText() : QString();
    selected.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    setLink(HtmlLink::parse(selected));
}

int InsertLinkQD::execFor(QTextEdit *target)
{
    prepare(target);
    urlLE->setFocus();
    urlLE->selectAll();
    return exec();
}

HtmlLink InsertLinkQD::link() const
{
    HtmlLink link;
    link.text = linkText;
    link.url = urlLE->text();
    link.title = titleLE->text();
    link.cssClass = classLE->text();
    link.target = HtmlLink::Target(targetCB->currentIndex());
    return link;
}

void InsertLinkQD::setLink(const HtmlLink &link)
{
    linkText = link.text;
    urlLE->setText(link.url);
    titleLE->setText(link.title);
    classLE->setText(link.cssClass);
    targetCB->setCurrentIndex(int(link.target));
}

void InsertLinkQD::insert()
{
    if (editor) {
        QTextCursor cursor = editor->textCursor();
        cursor.insertText(link().toHtml());
        editor->setTextCursor(cursor);
    }
    accept();
}
