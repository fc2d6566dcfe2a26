// Views and formatting tools: view switching, tag tools, hyperlink and font commands, text
// direction, colour settings, and the links between the spun text and its source.

#include "lexora3.h"

#include "colorqd.h"
#include "insertlinkqd.h"
#include "mytabitem.h"
#include "qmytextedit.h"
#include "tagtools.h"
#include "viewmanager.h"
#include "figuresupdater.h"

#include "levelcolors.h"
#include "myhighlighter.h"

#include "storage/settingsstore.h"

#include <QFontDialog>
#include <QGuiApplication>
#include <QRadioButton>
#include <QTabWidget>
#include <QTextBlockFormat>
#include <QTextCursor>
#include <QTextDocument>

// Sets the application's direction and the block direction of every document, flat and spun
// tab (the HTML page keeps its own). Direction is not part of the saved plain text, so the
// documents keep their modified state.
void Lexora3::applyDirection(Qt::LayoutDirection direction)
{
    for (QTabWidget *tabs : {mainTab, flatTab, spunTab}) {
        QGuiApplication::setLayoutDirection(direction);
        if (tabs == mainTab)
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
        if (tabs == mainTab)
            tabs->setTabsClosable(true);
    }
}

void Lexora3::rtl()
{
    applyDirection(Qt::RightToLeft);
    storage::saveLanguageSettings(curLang, true);
}

void Lexora3::ltr()
{
    applyDirection(Qt::LeftToRight);
    storage::saveLanguageSettings(curLang, false);
}

void Lexora3::editViewClicked(bool)
{
    views->editViewClicked();
}

void Lexora3::flatViewClicked(bool)
{
    views->flatViewClicked();
}

void Lexora3::spunViewClicked(bool)
{
    views->spunViewClicked();
}

void Lexora3::webViewClicked(bool)
{
    views->webViewClicked();
}

void Lexora3::flatTabChanged(int index)
{
    if (views)
        views->flatTabChanged(index);
}

void Lexora3::spunTabChanged(int index)
{
    if (views)
        views->spunTabChanged(index);
}

void Lexora3::webTabChanged(int index)
{
    if (views)
        views->webTabChanged(index);
}

void Lexora3::newSpin(bool saveToMap)
{
    views->newSpin(saveToMap);
}

void Lexora3::newFlatSpin(bool saveToMap)
{
    views->newFlatSpin(saveToMap);
}

void Lexora3::linkSpunClick(QMyTextEdit *editor, const QPoint &pos)
{
    if (views)
        views->linkSpunClick(editor, pos);
}

void Lexora3::highlightSpunWord(QMyTextEdit *editor, const QPoint &pos)
{
    if (views)
        views->highlightSpunWord(editor, pos);
}

void Lexora3::calcUniqueness()
{
    if (figures)
        figures->update();
}

QMyTextEdit *Lexora3::formattingEditor() const
{
    switch (view) {
    case 2:
        return flatTextEdit;
    case 3:
        return spunTextEdit;
    case 4:
        return nullptr;
    default:
        return textEdit;
    }
}

namespace {

void wrapTag(Lexora3 *w, tagtools::Tag tag)
{
    QMyTextEdit *editor = w->formattingEditor();
    if (!editor)
        return;
    QTextCursor cursor = editor->textCursor();
    tagtools::wrapWordOrSelection(cursor, tag);
    editor->setTextCursor(cursor);
}

} // namespace

void Lexora3::boldTag(bool)
{
    wrapTag(this, tagtools::Tag::Bold);
}

void Lexora3::uTag(bool)
{
    wrapTag(this, tagtools::Tag::Underline);
}

void Lexora3::iTag(bool)
{
    wrapTag(this, tagtools::Tag::Italic);
}

void Lexora3::fontTag(bool)
{
    wrapTag(this, tagtools::Tag::Font);
}

void Lexora3::pTag(bool)
{
    wrapTag(this, tagtools::Tag::Paragraph);
}

void Lexora3::ulTag(bool)
{
    wrapTag(this, tagtools::Tag::UnorderedList);
}

void Lexora3::olTag(bool)
{
    wrapTag(this, tagtools::Tag::OrderedList);
}

void Lexora3::dlTag(bool)
{
    wrapTag(this, tagtools::Tag::DefinitionList);
}

void Lexora3::brTag(bool)
{
    QMyTextEdit *editor = formattingEditor();
    if (!editor)
        return;
    QTextCursor cursor = editor->textCursor();
    tagtools::insertBreak(cursor);
    editor->setTextCursor(cursor);
}

void Lexora3::hyperlink()
{
    QMyTextEdit *editor = formattingEditor();
    if (!editor)
        return;
    if (!insertLinkQD)
        insertLinkQD = new InsertLinkQD(this);
    insertLinkQD->execFor(editor);
}

void Lexora3::textFont()
{
    QMyTextEdit *editor = formattingEditor();
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

void Lexora3::textFont(const QFont &font)
{
    QTextCharFormat format;
    format.setFont(font);
    mergeFormatOnWordOrSelection(format);
}

void Lexora3::mergeFormatOnWordOrSelection(const QTextCharFormat &format)
{
    QMyTextEdit *editor = formattingEditor();
    if (!editor)
        return;
    QTextCursor cursor = editor->textCursor();
    if (!cursor.hasSelection())
        cursor.select(QTextCursor::WordUnderCursor);
    cursor.mergeCharFormat(format);
    editor->mergeCurrentCharFormat(format);
}

void Lexora3::colorSettings()
{
    colorSettingsQD->show();
    colorSettingsQD->raise();
    colorSettingsQD->activateWindow();
}

QColor Lexora3::getColor(int level) const
{
    return colorSettingsQD ? colorSettingsQD->getLevelColor(level) : QColor(Qt::black);
}

// Every editor's highlighter takes the new colours directly. Nothing is typed into the
// documents to make them recolour, so no document turns modified and no undo step appears.
void Lexora3::recolourEditors(const QVariantMap &colors)
{
    const spintax::LevelColors levels = spintax::LevelColors::fromMap(colors);
    for (QTabWidget *tabs : {mainTab, flatTab, spunTab}) {
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

// The character format of the editor changed; no control of the window reflects it.
void Lexora3::formatChanged(const QTextCharFormat &) {}

// "Remove Original Word" (Ctrl+R) on the document editor.
void Lexora3::removeOriginalWord(bool)
{
    views->removeOriginalWord();
}
