#include "mytabitem.h"

#include "lexora3.h"
#include "qmytextedit.h"

#include "myhighlighter.h"
#include "storage/settingsstore.h"

#include <QAction>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QPalette>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextCursor>
#include <QUrl>
#include <QVBoxLayout>

MyTabItem::MyTabItem(int fileNum, Lexora3 *parent, bool textEditB, bool textHighlight)
    : QWidget(parent), fileName(QStringLiteral("Untitled ") + QString::number(fileNum)),
      mainWindow(parent), textEditB(textEditB)
{
    textEdit = new QMyTextEdit(parent, textHighlight, this);
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

        connect(textEdit, &QTextEdit::undoAvailable, this,
                qOverload<bool>(&MyTabItem::undoAvailable));
        connect(textEdit, &QTextEdit::redoAvailable, this,
                qOverload<bool>(&MyTabItem::redoAvailable));
        connect(textEdit, &QTextEdit::cursorPositionChanged, parent,
                qOverload<>(&Lexora3::cursorChanged));
        connect(textEdit, &QTextEdit::selectionChanged, parent, &Lexora3::selectionChanged);
        connect(textEdit, &QTextEdit::textChanged, this, &MyTabItem::textChanged);
        connect(textEdit, &QTextEdit::currentCharFormatChanged, parent, &Lexora3::formatChanged);
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

// Only the tab on screen drives the window's entries: a companion editor being refilled in
// the background must not enable Undo for the document the user looks at.
void MyTabItem::undoAvailable(bool available)
{
    undoB = available;
    if (mainWindow->item == this && mainWindow->undoQA)
        mainWindow->undoQA->setEnabled(available);
}

void MyTabItem::redoAvailable(bool available)
{
    redoB = available;
    if (mainWindow->item == this && mainWindow->redoQA)
        mainWindow->redoQA->setEnabled(available);
}

void MyTabItem::undoAvailable()
{
    if (mainWindow->undoQA)
        mainWindow->undoQA->setEnabled(undoB);
}

void MyTabItem::redoAvailable()
{
    if (mainWindow->redoQA)
        mainWindow->redoQA->setEnabled(redoB);
}

// The one place where the spin-syntax highlighter is put on an editor.
void MyTabItem::attachHighlighter()
{
    if (!mh)
        mh = new MyHighlighter(textEdit->document());
}
