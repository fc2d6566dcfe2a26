#include "mytabitem.h"

#include "qmytextedit.h"

#include "spintax/gui/myhighlighter.h"
#include "storage/settingsstore.h"

#include <QDesktopServices>
#include <QGuiApplication>
#include <QPalette>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextCursor>
#include <QUrl>
#include <QVBoxLayout>

MyTabItem::MyTabItem(int fileNum, GuardFlags &guards, bool textEditB, bool textHighlight,
                     QWidget *parent)
    : QWidget(parent), fileName(QStringLiteral("Untitled ") + QString::number(fileNum)),
      textEditB(textEditB)
{
    textEdit = new QMyTextEdit(guards, textHighlight, this);
    textBrowser = new QTextBrowser(this);
    textBrowser->setOpenLinks(false);
    connect(textBrowser, &QTextBrowser::anchorClicked, this, [](const QUrl &url) {
        // An address without a scheme gets "http://"; "https://" and others are kept.
        QDesktopServices::openUrl(QUrl(storage::withScheme(url.toString())));
    });

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    if (textEditB) {
        textEdit->setAcceptRichText(true);
        // Keep the selection visible when the editor loses focus.
        QPalette pal = textEdit->palette();
        const QColor highlight = pal.color(QPalette::Active, QPalette::Highlight);
        const QColor highlighted = pal.color(QPalette::Active, QPalette::HighlightedText);
        for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
            pal.setColor(group, QPalette::Highlight, highlight);
            pal.setColor(group, QPalette::HighlightedText, highlighted);
        }
        textEdit->setPalette(pal);

        QTextCursor cursor(textEdit->document());
        cursor.select(QTextCursor::Document);
        QTextBlockFormat blockFormat;
        blockFormat.setLayoutDirection(QGuiApplication::layoutDirection());
        cursor.mergeBlockFormat(blockFormat);

        connect(textEdit, &QTextEdit::undoAvailable, this, [this](bool available) {
            undoB = available;
            emit undoAvailable(available);
        });
        connect(textEdit, &QTextEdit::redoAvailable, this, [this](bool available) {
            redoB = available;
            emit redoAvailable(available);
        });
        attachHighlighter();
        textEdit->document()->clearUndoRedoStacks();
        textEdit->document()->setModified(false);
        layout->addWidget(textEdit);
        textBrowser->hide();
    } else {
        layout->addWidget(textBrowser);
        textEdit->hide();
    }
}

MyTabItem::~MyTabItem() = default;

void MyTabItem::setCurrentFile(const QString &path)
{
    currentFile = path;
    fileName = path;
}

void MyTabItem::showHtml(const QString &html)
{
    htmlSource = html;
    textBrowser->setHtml(html);
}

QString MyTabItem::textForSave() const
{
    return textEditB ? textEdit->toPlainText() : htmlSource;
}

bool MyTabItem::isSaved() const
{
    return !textEdit->document()->isModified();
}

void MyTabItem::setSaved()
{
    textEdit->document()->setModified(false);
}

void MyTabItem::undo()
{
    textEdit->undo();
}

void MyTabItem::redo()
{
    textEdit->redo();
}

// The one place where the spin-syntax highlighter is put on an editor.
void MyTabItem::attachHighlighter()
{
    if (!mh)
        mh = new MyHighlighter(textEdit->document());
}
