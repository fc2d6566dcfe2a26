#include "servicedialogs.h"

#include "services/widgets/addwebsiteqd.h"
#include "services/widgets/posttowordpress.h"
#include "services/widgets/qjscopyscape.h"

#include "storage/localdatabase.h"

#include <QTextCursor>
#include <QTextEdit>

ServiceDialogs::ServiceDialogs(QWidget *window, LocalDatabase &con, spintax::Generator &generator,
                               std::function<QTextEdit *()> mainEditor)
    : QObject(window), window(window), con(con), generator(generator),
      mainEditor(std::move(mainEditor))
{
    sites.setDatabase(&con);
}

void ServiceDialogs::loadWebsites()
{
    sites.loadWebsites();
}

void ServiceDialogs::postToWP(bool)
{
    if (!postQD) {
        PostingContext context;
        context.sites = &sites;
        context.generator = &generator;
        context.mainArticle = [this] {
            const QTextEdit *editor = mainEditor();
            return editor ? editor->toPlainText() : QString();
        };
        postQD = new PostToWordpress(context, window);
    }
    postQD->show2();
}

void ServiceDialogs::addWebsite(bool)
{
    if (!addWebsiteQD)
        addWebsiteQD = new AddWebsiteQD(sites, window);
    addWebsiteQD->show();
}

void ServiceDialogs::copyScape(bool)
{
    if (!copyScapeQD) {
        CopyscapeContext context;
        // The whole document as its selection gives it: paragraphs end in U+2029.
        context.mainText = [this] {
            const QTextEdit *editor = mainEditor();
            if (!editor)
                return QString();
            QTextCursor all(editor->document());
            all.select(QTextCursor::Document);
            return all.selectedText();
        };
        context.generator = &generator;
        context.database = &con;
        copyScapeQD = new QJSCopyScape(context, window);
    }
    copyScapeQD->show2();
}
