#pragma once

#include "services/xmlrpcposter.h"

#include <QDialog>
#include <QFutureWatcher>
#include <QList>
#include <QPointer>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

class PostCopies;
class QLineEdit;
class QProgressDialog;
class QPushButton;
class QTableWidget;
class WordpressSites;
struct ChoiceRow;

namespace spintax {
class Generator;
}

// What the posting dialog needs from the main window.
struct PostingContext
{
    WordpressSites *sites = nullptr;
    spintax::Generator *generator = nullptr;
    // The plain text of the main editor: the article that is posted.
    std::function<QString()> mainArticle;
    int timeoutMs = 60000; // per site
};

// The posting dialog: a spun title, the known sites to tick, and the remembered categories and
// keywords (each table grows an empty row to type a new one). "Post" saves the categories and
// keywords and posts to every ticked site, one after the other: every site gets its own copy of
// the article and all get the same title. Each call runs off the GUI thread with a progress
// dialog whose Cancel stops before the next site; each site's result is shown in its own
// message box before the next site is posted.
class PostToWordpress final : public QDialog
{
    Q_OBJECT
public:
    explicit PostToWordpress(PostingContext context, QWidget *parent = nullptr);
    ~PostToWordpress() override;

    // Fills the tables from the site list and the remembered categories and keywords (the
    // title keeps its text) and shows the dialog.
    void show2();
    // Remembers and saves the categories and keywords of the tables; the ticked ones become
    // `catAL2` and `kwAll`.
    void updateDB();
    bool isPosting() const { return run != nullptr; }

    QLineEdit *titleQLE = nullptr;
    QTableWidget *websiteQTW = nullptr;
    QTableWidget *catQTW = nullptr;
    QTableWidget *keywordQTW = nullptr;
    QPushButton *postPB = nullptr;
    QPushButton *closePB = nullptr;

    QStringList catAL2; // ticked categories of the last save
    QString kwAll;      // ticked keywords, joined

    using QDialog::close;

public slots:
    void post(bool checked = false);
    void close(bool checked);
    void catCC(int row, int column);
    void keywordCC(int row, int column);
    void reject() override;

signals:
    // A posting run ended: every ticked site done, or cancelled.
    void postingFinished();

private:
    struct Run;

    static QList<ChoiceRow> choiceRows(const QTableWidget *table);
    static void fillChoices(QTableWidget *table, const QStringList &entries);
    static void appendChoiceRow(QTableWidget *table);
    static void growLastRow(QTableWidget *table, int row);
    void postNext();
    void sitePosted();
    void finishRun();

    PostingContext context;
    std::unique_ptr<Run> run;
    QFutureWatcher<PostOutcome> watcher;
};
