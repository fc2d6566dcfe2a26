#pragma once

#include <QDialog>
#include <QPointer>
#include <QString>

#include <functional>

class LocalDatabase;
class QLineEdit;
class QNetworkAccessManager;
class QNetworkReply;
class QPushButton;
class QTextBrowser;
class QTextEdit;
class QUrl;

namespace spintax {
class Generator;
}

// What the Copyscape dialog needs from the main window.
struct CopyscapeContext
{
    // The main editor's whole text as its whole-document selection gives it (paragraphs
    // separated by U+2029).
    std::function<QString()> mainText;
    spintax::Generator *generator = nullptr;
    LocalDatabase *database = nullptr;
    int timeoutMs = 60000; // per request
};

// The Copyscape check: spins a copy of the article, sends it to the Copyscape API with the
// user's account, shows the matching pages with links and snippets, the account balance, and
// saves the results page. The endpoint is storage::copyscapeEndpoint(), read at every request.
// Both requests are asynchronous; while one is under way "Check" and "Balance" are disabled,
// and every ending (answer, error answer, network failure, timeout) enables them again.
class QJSCopyScape final : public QDialog
{
    Q_OBJECT
public:
    explicit QJSCopyScape(CopyscapeContext context, QWidget *parent = nullptr);
    ~QJSCopyScape() override;

    // Loads the account, asks for the balance, spins a fresh copy and shows the dialog.
    void show2();
    // A new copy of the article into `currentText` and the browser.
    void spun();
    // Writes the byte order mark and `searchResult` in UTF-8 to `path`; on failure says so in
    // a message box and returns false.
    bool writeResult(const QString &path);

    QLineEdit *usernameQLE = nullptr;
    QLineEdit *apiKeyQLE = nullptr;
    QTextEdit *balanceQTE = nullptr;
    QPushButton *spinQPB = nullptr;
    QPushButton *searchQPB = nullptr;
    QPushButton *balanceQPB = nullptr;
    QPushButton *closeQPB = nullptr;
    QPushButton *saveQPB = nullptr;
    QTextBrowser *browser = nullptr;

    QString currentText;  // the copy "Check" sends
    QString searchResult; // what "Save to File..." writes

    using QDialog::close;

public slots:
    void spin(bool checked = false);
    void search(bool checked = false);
    void updateBalance(bool checked = false);
    void saveToFile(bool checked = false);
    void close(bool checked);
    void anchorClicked(const QUrl &link);

signals:
    // A balance or check answer has been handled (tests wait for these).
    void balanceShown();
    void checkShown();

private:
    void saveAccount();
    void setBusy(bool busy);
    void balanceFinished();
    void searchFinished();
    static void drop(QPointer<QNetworkReply> &reply);
    // A network failure in words, without the request's query (it holds the API key).
    static QString failureText(QNetworkReply *reply);

    CopyscapeContext context;
    QNetworkAccessManager *nam1 = nullptr; // balance
    QNetworkAccessManager *nam2 = nullptr; // check
    QPointer<QNetworkReply> reply1;
    QPointer<QNetworkReply> reply2;
};
