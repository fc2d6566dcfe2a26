#pragma once

#include "services/wordpresssites.h"

#include <QObject>

#include <functional>

class AddWebsiteQD;
class LocalDatabase;
class PostToWordpress;
class QJSCopyScape;
class QTextEdit;
class QWidget;

namespace spintax {
class Generator;
}

// The publishing commands of the window: the WordPress sites with the remembered categories and
// keywords (`websiteALAL`, `catAL`, `keywordAL`), the site editor, the posting dialog and the
// Copyscape dialog. Each dialog is created on first use and kept until the window goes.
class ServiceDialogs final : public QObject
{
    Q_OBJECT
public:
    // `mainEditor` gives the main editor of the current document, the article that is posted
    // and checked.
    ServiceDialogs(QWidget *window, LocalDatabase &con, spintax::Generator &generator,
                   std::function<QTextEdit *()> mainEditor);
    Q_DISABLE_COPY_MOVE(ServiceDialogs)

    // Start-up: the stored sites.
    void loadWebsites();

    const WordpressSites &wordpressSites() const { return sites; }
    PostToWordpress *postDialog() const { return postQD; }
    AddWebsiteQD *siteEditor() const { return addWebsiteQD; }
    QJSCopyScape *copyscapeDialog() const { return copyScapeQD; }

public slots:
    void postToWP(bool checked = false);
    void addWebsite(bool checked = false);
    void copyScape(bool checked = false);

private:
    QWidget *window;
    LocalDatabase &con;
    spintax::Generator &generator;
    std::function<QTextEdit *()> mainEditor;
    WordpressSites sites;
    // Children of the window, created on first use.
    PostToWordpress *postQD = nullptr;
    AddWebsiteQD *addWebsiteQD = nullptr;
    QJSCopyScape *copyScapeQD = nullptr;
};
