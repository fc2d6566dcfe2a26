#include "posttowordpress.h"

#include "services/postchoices.h"
#include "services/postcopies.h"
#include "services/wordpresssites.h"

#include "spintax/unpairedbrace.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QtConcurrent/QtConcurrentRun>

// One posting run: the requests still to send, built one by one as the sites come up.
struct PostToWordpress::Run
{
    QString title;
    std::optional<QStringList> categories;
    QString keywords;
    QList<Website> sites;
    std::unique_ptr<PostCopies> copies;
    int next = 0;
    bool cancelled = false;
    QPointer<QProgressDialog> progress;
};

namespace {

QGroupBox *group(const QString &title, QWidget *content)
{
    auto *box = new QGroupBox(title);
    auto *layout = new QVBoxLayout(box);
    layout->addWidget(content);
    return box;
}

QTableWidget *choiceTable(const QString &header, QWidget *parent)
{
    auto *table = new QTableWidget(0, 1, parent);
    table->setHorizontalHeaderLabels({header});
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    table->setAccessibleName(header == QLatin1String("Category") ? QStringLiteral("Categories")
                                                                 : QStringLiteral("Keyword"));
    return table;
}

QTableWidgetItem *checkItem(const QString &text, bool editable)
{
    auto *item = new QTableWidgetItem(text);
    Qt::ItemFlags flags = Qt::ItemIsUserCheckable | Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (editable)
        flags |= Qt::ItemIsEditable;
    item->setFlags(flags);
    item->setCheckState(Qt::Unchecked);
    return item;
}

} // namespace

PostToWordpress::PostToWordpress(PostingContext context, QWidget *parent)
    : QDialog(parent), context(std::move(context))
{
    setModal(true);
    resize(650, 500);

    titleQLE = new QLineEdit(this);
    titleQLE->setAccessibleName(QStringLiteral("Post Title"));

    websiteQTW = new QTableWidget(0, 3, this);
    websiteQTW->setHorizontalHeaderLabels({QStringLiteral("URL"), QString(), QString()});
    websiteQTW->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    websiteQTW->setColumnHidden(1, true);
    websiteQTW->setColumnHidden(2, true);
    websiteQTW->setAccessibleName(QStringLiteral("Websites"));

    catQTW = choiceTable(QStringLiteral("Category"), this);
    keywordQTW = choiceTable(QStringLiteral("Keyword"), this);

    postPB = new QPushButton(QStringLiteral("Post"), this);
    closePB = new QPushButton(QStringLiteral("Close"), this);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(postPB);
    buttons->addWidget(closePB);

    auto *choices = new QHBoxLayout;
    choices->addWidget(group(QStringLiteral("Categories"), catQTW));
    choices->addWidget(group(QStringLiteral("Keyword"), keywordQTW));

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(group(QStringLiteral("Post Title"), titleQLE));
    layout->addWidget(group(QStringLiteral("Websites"), websiteQTW));
    layout->addLayout(choices);
    layout->addLayout(buttons);

    connect(postPB, &QPushButton::clicked, this, &PostToWordpress::post);
    connect(closePB, &QPushButton::clicked, this, qOverload<bool>(&PostToWordpress::close));
    connect(catQTW, &QTableWidget::cellChanged, this, &PostToWordpress::catCC);
    connect(keywordQTW, &QTableWidget::cellChanged, this, &PostToWordpress::keywordCC);
    connect(&watcher, &QFutureWatcher<PostOutcome>::finished, this, &PostToWordpress::sitePosted);
}

PostToWordpress::~PostToWordpress()
{
    // A call still under way finishes on its own thread; its outcome is not wanted any more.
    watcher.disconnect(this);
}

void PostToWordpress::appendChoiceRow(QTableWidget *table)
{
    const QSignalBlocker quiet(table);
    const int row = table->rowCount();
    table->insertRow(row);
    table->setItem(row, 0, checkItem(QString(), true));
}

void PostToWordpress::fillChoices(QTableWidget *table, const QStringList &entries)
{
    const QSignalBlocker quiet(table);
    table->setRowCount(0);
    for (const QString &entry : entries) {
        if (entry.trimmed().isEmpty())
            continue;
        const int row = table->rowCount();
        table->insertRow(row);
        table->setItem(row, 0, checkItem(entry, true));
    }
    appendChoiceRow(table);
}

void PostToWordpress::show2()
{
    {
        const QSignalBlocker quiet(websiteQTW);
        websiteQTW->setRowCount(0);
        for (const Website &site : context.sites->websiteALAL()) {
            if (site.isBlank())
                continue;
            const int row = websiteQTW->rowCount();
            websiteQTW->insertRow(row);
            websiteQTW->setItem(row, 0, checkItem(site.url, false));
            websiteQTW->setItem(row, 1, new QTableWidgetItem(site.username));
            websiteQTW->setItem(row, 2, new QTableWidgetItem(site.password));
        }
    }
    context.sites->loadCategoriesOnce();
    context.sites->loadKeywordsOnce();
    fillChoices(catQTW, context.sites->catAL());
    fillChoices(keywordQTW, context.sites->keywordAL());
    show();
}

void PostToWordpress::growLastRow(QTableWidget *table, int row)
{
    const QTableWidgetItem *item = table->item(row, 0);
    if (row == table->rowCount() - 1 && item && !item->text().trimmed().isEmpty())
        appendChoiceRow(table);
}

void PostToWordpress::catCC(int row, int)
{
    growLastRow(catQTW, row);
}

void PostToWordpress::keywordCC(int row, int)
{
    growLastRow(keywordQTW, row);
}

QList<ChoiceRow> PostToWordpress::choiceRows(const QTableWidget *table)
{
    QList<ChoiceRow> rows;
    for (int row = 0; row < table->rowCount(); ++row) {
        const QTableWidgetItem *item = table->item(row, 0);
        rows.append({item ? item->text() : QString(), item && item->checkState() == Qt::Checked});
    }
    return rows;
}

void PostToWordpress::updateDB()
{
    const PostChoices categories = PostChoices::fromRows(choiceRows(catQTW));
    catAL2 = categories.chosen;
    context.sites->updateCat(categories.remembered);

    const QList<ChoiceRow> keywordRows = choiceRows(keywordQTW);
    kwAll = PostChoices::keywordString(keywordRows);
    context.sites->updateKeyword(PostChoices::fromRows(keywordRows).remembered);
}

void PostToWordpress::post(bool)
{
    if (run)
        return;
    updateDB();

    auto refuse = [this](const QString &what, const QString &text) {
        const std::optional<spintax::UnpairedBrace> brace = spintax::firstUnpairedBrace(text);
        QMessageBox::warning(this, QStringLiteral("Rewordix"),
                             what + QStringLiteral(" cannot be spun, nothing was posted.\n") +
                                 (brace ? spintax::unpairedBraceMessage(*brace) : QString()));
    };
    const std::optional<QString> title =
        PostCopies::spinTitle(*context.generator, titleQLE->text());
    if (!title) {
        refuse(QStringLiteral("The title"), titleQLE->text());
        return;
    }

    auto next = std::make_unique<Run>();
    for (int row = 0; row < websiteQTW->rowCount(); ++row) {
        const QTableWidgetItem *url = websiteQTW->item(row, 0);
        if (!url || url->checkState() != Qt::Checked)
            continue;
        auto text = [&](int column) {
            const QTableWidgetItem *item = websiteQTW->item(row, column);
            return item ? item->text() : QString();
        };
        next->sites.append({text(0), text(1), text(2)});
    }
    if (next->sites.isEmpty())
        return;

    const QString article = context.mainArticle ? context.mainArticle() : QString();
    next->copies = std::make_unique<PostCopies>(*context.generator, article);
    if (!next->copies->balanced()) {
        refuse(QStringLiteral("The article"), article);
        return;
    }
    next->title = *title;
    if (!catAL2.isEmpty())
        next->categories = catAL2;
    next->keywords = kwAll;

    auto *progress = new QProgressDialog(this);
    progress->setWindowModality(Qt::WindowModal);
    progress->setAutoClose(false);
    progress->setAutoReset(false);
    progress->setMinimumDuration(0);
    progress->setRange(0, int(next->sites.size()));
    progress->setAccessibleName(QStringLiteral("Posting progress"));
    next->progress = progress;
    connect(progress, &QProgressDialog::canceled, this, [this] {
        if (run)
            run->cancelled = true;
    });
    run = std::move(next);
    progress->show();
    postNext();
}

void PostToWordpress::postNext()
{
    if (!run)
        return;
    if (run->cancelled || (run->progress && run->progress->wasCanceled()) ||
        run->next >= run->sites.size()) {
        finishRun();
        return;
    }
    const Website &site = run->sites[run->next];
    if (run->progress) {
        run->progress->setLabelText(
            QStringLiteral("Posting to site %1 of %2…").arg(run->next + 1).arg(run->sites.size()));
        run->progress->setValue(run->next);
    }
    PostRequest request;
    request.url = site.url;
    request.username = site.username;
    request.password = site.password;
    request.content = run->copies->next();
    request.title = run->title;
    request.categories = run->categories;
    request.keywords = run->keywords;
    request.timeoutMs = context.timeoutMs;

    setCursor(Qt::WaitCursor);
    watcher.setFuture(QtConcurrent::run([request] { return XmlRpcPoster(request).outcome(); }));
}

void PostToWordpress::sitePosted()
{
    unsetCursor();
    if (!run)
        return;
    const PostOutcome outcome = watcher.result();
    ++run->next;
    if (run->progress)
        run->progress->setValue(run->next);

    auto *box =
        outcome.success
            ? new QMessageBox(QMessageBox::Information, QStringLiteral("Rewordix"),
                              XmlRpcPoster::successText(outcome.text), QMessageBox::Ok, this)
            : new QMessageBox(QMessageBox::Critical, QStringLiteral("Error"), outcome.text,
                              QMessageBox::Ok, this);
    box->setAttribute(Qt::WA_DeleteOnClose);
    connect(box, &QMessageBox::finished, this, &PostToWordpress::postNext);
    box->open();
}

void PostToWordpress::finishRun()
{
    if (run && run->progress)
        run->progress->deleteLater();
    run.reset();
    emit postingFinished();
}

void PostToWordpress::close(bool)
{
    updateDB();
    hide();
}

void PostToWordpress::reject()
{
    // Escape and the window's close button save like "Close" does; a running post goes on.
    if (run)
        return;
    close(false);
    QDialog::reject();
}
