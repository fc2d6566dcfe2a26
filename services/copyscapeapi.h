#pragma once

#include <QByteArray>
#include <QString>
#include <QUrl>

#include <optional>

// The requests the Copyscape dialog sends and the reading of the answers, as values in and out.
class CopyscapeApi final
{
public:
    // GET address of the balance request: the endpoint with the query items u, k, o=balance,
    // f=html in this order, each value percent-encoded ("+" too, so servers do not read it as a
    // space).
    static QUrl balanceUrl(const QString &endpoint, const QString &username, const QString &apiKey);

    // Form body of the check request: u, k, o=csearch, e=UTF-8, t, the empty-named item "=3"
    // and f=xml, the values form-encoded (UTF-8, space as "+").
    static QByteArray searchBody(const QString &username, const QString &apiKey,
                                 const QString &text);
    // application/x-www-form-urlencoded value encoding: letters, digits and "*-._" stay, a space
    // becomes "+", every other byte of the UTF-8 form becomes %XX.
    static QByteArray formEncode(const QString &value);

    // The balance answer for the balance box: split at every ",", empty pieces at the end
    // dropped, each piece trimmed, "<br />" after every piece but the last; a blank piece gives
    // only its separator. «a, b,,c» gives «a<br />b<br /><br />c».
    static QString balanceHtml(const QString &answer);
    // Whether the balance box's plain text says the account was refused; "Check" then stays
    // disabled.
    static bool rejectsAccount(const QString &balancePlainText);

    // The results page of a check answer, or no value when the answer is not a list of results
    // (not XML, or no "querywords" element, as in Copyscape's error documents). Texts taken
    // from the answer cannot add markup to the page: "<" and ">" in titles, snippets and counts
    // and a quotation mark in a link address are escaped; the HTML snippet stays HTML.
    static std::optional<QString> resultsPage(const QByteArray &answer);
    // What the browser shows for an answer that is not a list of results.
    static QString failureText(const QByteArray &answer);

    // Where a result link opens: unchanged when it names http or https, with "http://" in front
    // when it has no scheme; no value for any other scheme (file:, javascript:, ...), which a
    // results page from the network has no business opening.
    static std::optional<QUrl> linkTarget(const QString &link);

    // The text of a percent-encoded address decoded as UTF-8; empty when a "%" is not followed by
    // two hex digits or the bytes are not UTF-8.
    static QString decodeUrl(const QString &encoded);
};
