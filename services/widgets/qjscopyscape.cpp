#include "qjscopyscape.h"

#include "services/copyscapeaccount.h"
#include "services/copyscapeapi.h"

#include "spintax/generator.h"
#include "spintax/unpairedbrace.h"
#include "storage/localdatabase.h"
#include "storage/settingsstore.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPushButton>
#include <QSaveFile>
#include <QTextBrowser>
#include <QTextEdit>
#include <QVBoxLayout>

QJSCopyScape::QJSCopyScape(CopyscapeContext context, QWidget *parent)
    : QDialog(parent), context(std::move(context))
{
    setWindowTitle(QStringLiteral("Copyscape"));
    setModal(true);
    resize(750, 450);

    usernameQLE = new QLineEdit(this);
    usernameQLE->setAccessibleName(QStringLiteral("Username:"));
    apiKeyQLE = new QLineEdit(this);
    apiKeyQLE->setAccessibleName(QStringLiteral("API Key:"));
    balanceQTE = new QTextEdit(this);
    balanceQTE->setReadOnly(true);
    balanceQTE->setFixedHeight(50);
    balanceQTE->setAccessibleName(QStringLiteral("Current Balance:"));

    spinQPB = new QPushButton(QStringLiteral("Spin"), this);
    searchQPB = new QPushButton(QStringLiteral("Check"), this);
    balanceQPB = new QPushButton(QStringLiteral("Balance"), this);
    closeQPB = new QPushButton(QStringLiteral("Close"), this);
    saveQPB = new QPushButton(QStringLiteral("Save to File..."), this);

    browser = new QTextBrowser(this);
    browser->setOpenLinks(false);
    browser->setAccessibleName(QStringLiteral("Copyscape results"));

    auto *left = new QWidget(this);
    left->setFixedWidth(350);
    auto *grid = new QGridLayout(left);
    grid->setContentsMargins(5, 5, 5, 5);
    grid->addWidget(new QLabel(QStringLiteral("Username:"), left), 0, 0);
    grid->addWidget(usernameQLE, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("API Key:"), left), 1, 0);
    grid->addWidget(apiKeyQLE, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("Current Balance:"), left), 2, 0);
    grid->addWidget(balanceQTE, 2, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(spinQPB);
    buttons->addWidget(searchQPB);
    buttons->addWidget(balanceQPB);
    buttons->addWidget(closeQPB);
    grid->addLayout(buttons, 3, 0, 1, 2);
    grid->setRowStretch(4, 1);

    auto *right = new QVBoxLayout;
    right->addWidget(saveQPB, 0, Qt::AlignLeft);
    right->addWidget(browser);

    auto *layout = new QHBoxLayout(this);
    layout->addWidget(left);
    layout->addLayout(right);

    nam1 = new QNetworkAccessManager(this);
    nam2 = new QNetworkAccessManager(this);

    connect(spinQPB, &QPushButton::clicked, this, &QJSCopyScape::spin);
    connect(searchQPB, &QPushButton::clicked, this, &QJSCopyScape::search);
    connect(balanceQPB, &QPushButton::clicked, this, &QJSCopyScape::updateBalance);
    connect(closeQPB, &QPushButton::clicked, this, qOverload<bool>(&QJSCopyScape::close));
    connect(saveQPB, &QPushButton::clicked, this, &QJSCopyScape::saveToFile);
    connect(browser, &QTextBrowser::anchorClicked, this, &QJSCopyScape::anchorClicked);
}

QJSCopyScape::~QJSCopyScape()
{
    drop(reply1);
    drop(reply2);
}

void QJSCopyScape::drop(QPointer<QNetworkReply> &reply)
{
    if (!reply)
        return;
    reply->disconnect();
    reply->abort();
    reply->deleteLater();
    reply = nullptr;
}

void QJSCopyScape::show2()
{
    if (context.database) {
        if (const auto account = CopyscapeAccount::load(context.database->database())) {
            usernameQLE->setText(account->username);
            apiKeyQLE->setText(account->apiKey);
        }
    }
    updateBalance();
    spun();
    show();
}

void QJSCopyScape::spin(bool)
{
    spun();
}

void QJSCopyScape::spun()
{
    const QString text = context.mainText ? context.mainText() : QString();
    const std::optional<spintax::SpinResult> copy =
        context.generator ? context.generator->anySpin(text, false) : std::nullopt;
    browser->clear();
    if (!copy) {
        currentText.clear();
        const std::optional<spintax::UnpairedBrace> brace = spintax::firstUnpairedBrace(text);
        if (brace)
            browser->setPlainText(spintax::unpairedBraceMessage(*brace));
        return;
    }
    currentText = copy->text;
    browser->setPlainText(currentText);
}

void QJSCopyScape::setBusy(bool busy)
{
    searchQPB->setEnabled(!busy);
    balanceQPB->setEnabled(!busy);
}

void QJSCopyScape::saveAccount()
{
    if (context.database)
        CopyscapeAccount::save(context.database->database(),
                               {usernameQLE->text().trimmed(), apiKeyQLE->text().trimmed()});
}

QString QJSCopyScape::failureText(QNetworkReply *reply)
{
    const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (status.isValid())
        return QStringLiteral("Copyscape answered with HTTP status %1 %2.")
            .arg(status.toInt())
            .arg(reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString());
    // Qt's error texts quote the whole address, query and API key included.
    QString text = reply->errorString();
    const QUrl url = reply->url();
    const QString bare = url.adjusted(QUrl::RemoveQuery).toString();
    for (const QString &form :
         {url.toString(), url.toDisplayString(), QString::fromLatin1(url.toEncoded())})
        text.replace(form, bare);
    return QStringLiteral("Copyscape could not be reached: ") + text;
}

void QJSCopyScape::updateBalance(bool)
{
    setBusy(true);
    balanceQTE->setPlainText(QStringLiteral("Checking Current Balance..."));
    const QString u = usernameQLE->text().trimmed();
    const QString k = apiKeyQLE->text().trimmed();

    drop(reply1);
    QNetworkRequest request(CopyscapeApi::balanceUrl(storage::copyscapeEndpoint(), u, k));
    request.setTransferTimeout(context.timeoutMs);
    reply1 = nam1->get(request);
    connect(reply1, &QNetworkReply::finished, this, &QJSCopyScape::balanceFinished);
    saveAccount();
}

void QJSCopyScape::balanceFinished()
{
    QNetworkReply *reply = reply1;
    if (!reply || sender() != reply)
        return;
    reply1 = nullptr;
    reply->deleteLater();
    if (reply->error() != QNetworkReply::NoError) {
        balanceQTE->setPlainText(failureText(reply));
        setBusy(false);
    } else {
        balanceQTE->setHtml(CopyscapeApi::balanceHtml(QString::fromUtf8(reply->readAll())));
        searchQPB->setEnabled(!CopyscapeApi::rejectsAccount(balanceQTE->toPlainText()));
        balanceQPB->setEnabled(true);
    }
    emit balanceShown();
}

void QJSCopyScape::search(bool)
{
    const QString u = usernameQLE->text().trimmed();
    const QString k = apiKeyQLE->text().trimmed();
    if (u.isEmpty() || k.isEmpty())
        return;
    browser->clear();
    browser->setPlainText(QStringLiteral("Checking..."));
    setBusy(true);

    drop(reply2);
    QNetworkRequest request{QUrl(storage::copyscapeEndpoint())};
    request.setHeader(QNetworkRequest::ContentTypeHeader,
                      QStringLiteral("application/x-www-form-urlencoded"));
    request.setTransferTimeout(context.timeoutMs);
    reply2 = nam2->post(request, CopyscapeApi::searchBody(u, k, currentText));
    connect(reply2, &QNetworkReply::finished, this, &QJSCopyScape::searchFinished);
}

void QJSCopyScape::searchFinished()
{
    QNetworkReply *reply = reply2;
    if (!reply || sender() != reply)
        return;
    reply2 = nullptr;
    reply->deleteLater();
    if (reply->error() != QNetworkReply::NoError && reply->bytesAvailable() == 0) {
        browser->setPlainText(failureText(reply));
        setBusy(false);
        emit checkShown();
        return;
    }
    const QByteArray answer = reply->readAll();
    searchResult = QString::fromUtf8(answer);
    const std::optional<QString> page = CopyscapeApi::resultsPage(answer);
    if (!page) {
        browser->setPlainText(CopyscapeApi::failureText(answer));
        setBusy(false);
        emit checkShown();
        return;
    }
    searchResult = *page;
    browser->setHtml(*page);
    setBusy(false);
    emit checkShown();
    updateBalance();
}

void QJSCopyScape::anchorClicked(const QUrl &link)
{
    const std::optional<QUrl> target = CopyscapeApi::linkTarget(link.toString());
    if (!target) {
        qWarning("Not opening a result link that is neither http nor https");
        return;
    }
    QDesktopServices::openUrl(*target);
}

void QJSCopyScape::saveToFile(bool)
{
    const QString path = QFileDialog::getSaveFileName(
        this, QStringLiteral("Save as..."), QString(),
        QStringLiteral("HTML files (*.html *.htm);;Text files (*.text *.txt);;All Files (*)"));
    if (!path.isEmpty())
        writeResult(path);
}

bool QJSCopyScape::writeResult(const QString &path)
{
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly)) {
        file.write("\xEF\xBB\xBF");
        file.write(searchResult.toUtf8());
        if (file.commit())
            return true;
    }
    QMessageBox::warning(
        this, QStringLiteral("Rewordix"),
        QStringLiteral("The results could not be saved to %1: %2").arg(path, file.errorString()));
    return false;
}

void QJSCopyScape::close(bool)
{
    saveAccount();
    QDialog::close();
}
