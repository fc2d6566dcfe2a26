#pragma once

#include <QString>
#include <QStringList>

#include <optional>
#include <string>

// Everything one post sends to one blog.
struct PostRequest
{
    QString url; // the site address as the user entered it
    QString username;
    QString password;
    QString content;
    QString title;
    std::optional<QStringList> categories; // none when no category is chosen
    QString keywords;                      // `kwAll`
    int timeoutMs = 60000;                 // for the whole call
};

// How a post ended: the new post's id, or the failure's own description.
struct PostOutcome
{
    bool success = false;
    QString text;

    bool operator==(const PostOutcome &) const = default;
};

// One post to one WordPress blog through its XML-RPC interface (`metaWeblog.newPost`), done in
// the constructor: build the call, send it by HTTP POST with a timeout, read the answer. The
// call blocks, so the posting dialog constructs posters off the GUI thread; a poster touches no
// shared state. Transport failures, HTTP errors, faults and malformed answers all end as a
// failed outcome, never as an exception.
class XmlRpcPoster final
{
public:
    explicit XmlRpcPoster(const PostRequest &request);

    const PostOutcome &outcome() const { return result; }

    // The text of the information box after a successful post.
    static QString successText(const QString &postId);

    // The XML-RPC address of a site: the address trimmed, one trailing "/" removed, "http://"
    // put in front when it has no scheme ("https://" is kept), and "/xmlrpc.php" appended unless
    // it already ends so. "blog.example/" and "http://blog.example" both give
    // "http://blog.example/xmlrpc.php".
    static QString endpoint(const QString &url);

    // The XML of the call: blog id 1, user name, password, the post's struct ("title",
    // "description", "mt_keywords" unless the keywords are "" or ",", "categories" when there
    // are any), publish = true.
    static std::string callXml(const PostRequest &request);

    // Reads an XML-RPC answer: success with the returned value as text (post ids come as
    // strings or ints), or failure with the fault's text or why the answer could not be read.
    static PostOutcome readAnswer(const std::string &responseXml);

private:
    PostOutcome result;
};
