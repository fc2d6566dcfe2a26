// Edit commands and formatting tools. Everything that changes text acts on the current
// document's editor (`textEdit`), whatever view is on screen: the flat, spun and HTML views show
// generated text that the next view switch writes anew, so an edit there would vanish. Copy
// reads the view on screen, which is how a generated copy is taken out of the program; undo and
// redo act on the current document.

#include "lexora3.h"

#include "colorqd.h"
#include "documentmanager.h"
#include "insertlinkqd.h"
#include "mytabitem.h"
#include "qmytextedit.h"
#include "tagtools.h"
#include "viewmanager.h"

#include "spintax/gui/levelcolors.h"
#include "spintax/gui/myhighlighter.h"
#include "storage/settingsstore.h"
#include "synonyms/synonymstore.h"

#include <QCheckBox>
#include <QFontDialog>
#include <QGuiApplication>
#include <QTabWidget>
#include <QTextBlockFormat>
#include <QTextCursor>
#include <QTextDocument>

void Lexora3::cut()
{
    if (QTextEdit *editor = views->formattingEditor())
        editor->cut();
}

void Lexora3::copy()
{
    if (QTextEdit *editor = views->currentViewEditor())
        editor->copy();
}

void Lexora3::paste()
{
    QTextEdit *editor = views->formattingEditor();
    if (!editor)
        return;
    editor->paste();
    if (identifyOnPaste->isChecked() && editor == documents->editor())
        identify(editor);
}

void Lexora3::deleteText()
{
    if (QTextEdit *editor = views->formattingEditor())
        editor->textCursor().removeSelectedText();
}

void Lexora3::undo()
{
    if (MyTabItem *item = documents->document())
        item->undo();
}

void Lexora3::redo()
{
    if (MyTabItem *item = documents->document())
        item->redo();
}

void Lexora3::wrapTag(tagtools::Tag tag)
{
    QMyTextEdit *editor = views->formattingEditor();
    if (!editor)
        return;
    QTextCursor cursor = editor->textCursor();
    tagtools::wrapWordOrSelection(cursor, tag);
    editor->setTextCursor(cursor);
}

void Lexora3::brTag()
{
    QMyTextEdit *editor = views->formattingEditor();
    if (!editor)
        return;
    QTextCursor cursor = editor->textCursor();
    tagtools::insertBreak(cursor);
    editor->setTextCursor(cursor);
}

void Lexora3::hyperlink()
{
    QMyTextEdit *editor = views->formattingEditor();
    if (!editor)
        return;
    if (!insertLinkQD) {
        insertLinkQD = new InsertLinkQD(this);
        insertLinkQD->setObjectName(QStringLiteral("insertLinkQD"));
    }
    insertLinkQD->execFor(editor);
}

void Lexora3::textFont()
{
    QMyTextEdit *editor = views->formattingEditor();
    if (!editor)
        return;
    bool ok = false;
    const QFont font = QFontDialog::getFont(&ok, editor->currentFont(), this);
    if (!ok)
        return;
    QTextCharFormat format;
    format.setFont(font);
    QTextCursor cursor(editor->document());
    cursor.select(QTextCursor::Document);
    cursor.mergeCharFormat(format);
    editor->mergeCurrentCharFormat(format);
}

// Sets the application's direction and the block direction of every document, flat and spun
// tab (the HTML page keeps its own). Direction is not part of the saved plain text, so the
// documents keep their modified state.
void Lexora3::applyDirection(Qt::LayoutDirection direction)
{
    QGuiApplication::setLayoutDirection(direction);
    for (View page : {View::Edit, View::Flat, View::Spun}) {
        QTabWidget *tabs = documents->tabs(page);
        if (page == View::Edit)
            tabs->setTabsClosable(false);
        for (int i = 0; i < tabs->count(); ++i) {
            auto *tab = qobject_cast<MyTabItem *>(tabs->widget(i));
            if (!tab)
                continue;
            QTextDocument *document = tab->getTextEdit()->document();
            const bool modified = document->isModified();
            QTextCursor cursor(document);
            cursor.select(QTextCursor::Document);
            cursor.beginEditBlock();
            QTextBlockFormat format;
            format.setLayoutDirection(direction);
            cursor.mergeBlockFormat(format);
            cursor.endEditBlock();
            document->setModified(modified);
        }
        tabs->adjustSize();
        if (page == View::Edit)
            tabs->setTabsClosable(true);
    }
}

void Lexora3::rtl()
{
    applyDirection(Qt::RightToLeft);
    storage::saveLanguageSettings(synStore->curLang, true);
}

void Lexora3::ltr()
{
    applyDirection(Qt::LeftToRight);
    storage::saveLanguageSettings(synStore->curLang, false);
}

void Lexora3::colorSettings()
{
    colorSettingsQD->show();
    colorSettingsQD->raise();
    colorSettingsQD->activateWindow();
}

// Every editor's highlighter takes the new colours directly. Nothing is typed into the
// documents to make them recolour, so no document turns modified and no undo step appears.
void Lexora3::recolourEditors(const QVariantMap &colors)
{
    const spintax::LevelColors levels = spintax::LevelColors::fromMap(colors);
    for (View page : {View::Edit, View::Flat, View::Spun}) {
        QTabWidget *tabs = documents->tabs(page);
        for (int i = 0; i < tabs->count(); ++i) {
            auto *tab = qobject_cast<MyTabItem *>(tabs->widget(i));
            if (!tab)
                continue;
            const auto highlighters =
                tab->getTextEdit()->document()->findChildren<MyHighlighter *>();
            for (MyHighlighter *highlighter : highlighters)
                highlighter->setColors(levels);
        }
    }
}
