// Views and formatting tools: view switching, tag tools, hyperlink and font commands, text
// direction, colour settings, and the links between the spun text and its source.

#include "lexora3.h"

#include "mytabitem.h"
#include "qmytextedit.h"

#include "storage/settingsstore.h"

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

// Not wired yet: view switching, tag tools, hyperlink, font and colour settings.
void Lexora3::editViewClicked(bool) {}
void Lexora3::flatViewClicked(bool) {}
void Lexora3::spunViewClicked(bool) {}
void Lexora3::webViewClicked(bool) {}
void Lexora3::flatTabChanged(int) {}
void Lexora3::spunTabChanged(int) {}
void Lexora3::webTabChanged(int) {}
void Lexora3::boldTag(bool) {}
void Lexora3::uTag(bool) {}
void Lexora3::iTag(bool) {}
void Lexora3::fontTag(bool) {}
void Lexora3::pTag(bool) {}
void Lexora3::brTag(bool) {}
void Lexora3::ulTag(bool) {}
void Lexora3::olTag(bool) {}
void Lexora3::dlTag(bool) {}
void Lexora3::hyperlink() {}
void Lexora3::textFont() {}
void Lexora3::colorSettings() {}
void Lexora3::formatChanged(const QTextCharFormat &) {}
void Lexora3::linkSpunClick(QMyTextEdit *, const QPoint &) {}
void Lexora3::highlightSpunWord(QMyTextEdit *, const QPoint &) {}
