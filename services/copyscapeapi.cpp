#include "copyscapeapi.h"

#include <QDomDocument>
#include <QDomElement>
#include <QDomNodeList>
#include <QRegularExpression>
#include <QStringDecoder>

namespace {

// "<" and ">" of outside text kept as text in the page.
QString escapeTags(QString text)
{
    text.replace(u'<', QStringLiteral("&lt;"));
    text.replace(u'>', QStringLiteral("&gt;"));
    return text;
}

QString firstText(const QDomDocument &doc, const QString &tag)
{
    const QDomNodeList list = doc.elementsByTagName(tag);
    return list.isEmpty() ? QString() : list.item(0).toElement().text();
}

QString firstText(const QDomElement &parent, const QString &tag)
{
    const QDomNodeList list = parent.elementsByTagName(tag);
    return list.isEmpty() ? QString() : list.item(0).toElement().text();
}

bool hasElement(const QDomElement &parent, const QString &tag)
{
    return !parent.elementsByTagName(tag).isEmpty();
}

} // namespace

QUrl CopyscapeApi::balanceUrl(const QString &endpoint, const QString &username,
                              const QString &apiKey)
{
    QUrl url(endpoint);
    const QByteArray query = "u=" + QUrl::toPercentEncoding(username) +
                             "&k=" + QUrl::toPercentEncoding(apiKey) + "&o=balance&f=html";
    url.setQuery(QString::fromLatin1(query), QUrl::StrictMode);
    return url;
}

QByteArray CopyscapeApi::formEncode(const QString &value)
{
    QByteArray encoded = QUrl::toPercentEncoding(value, "* ", "~");
    encoded.replace(' ', '+');
    return encoded;
}

QByteArray CopyscapeApi::searchBody(const QString &username, const QString &apiKey,
                                    const QString &text)
{
    return "u=" + formEncode(username) + "&k=" + formEncode(apiKey) +
           "&o=csearch&e=UTF-8&t=" + formEncode(text) + "&=3&f=xml";
}

QString CopyscapeApi::balanceHtml(const QString &answer)
{
    QStringList pieces = answer.split(u',');
    while (!pieces.isEmpty() && pieces.constLast().isEmpty())
        pieces.removeLast();
    QString html;
    for (qsizetype i = 0; i < pieces.size(); ++i) {
        const QString piece = pieces[i].trimmed();
        if (!piece.isEmpty())
            html += piece;
        if (i != pieces.size() - 1)
            html += QStringLiteral("<br />");
    }
    return html;
}

bool CopyscapeApi::rejectsAccount(const QString &balancePlainText)
{
    return balancePlainText.trimmed().toLower().contains(
        QStringLiteral("username or api key not correct"));
}

QString CopyscapeApi::decodeUrl(const QString &encoded)
{
    const QByteArray bytes = encoded.toUtf8();
    static const QRegularExpression badEscape(QStringLiteral("%(?![0-9A-Fa-f]{2})"));
    if (badEscape.match(encoded).hasMatch())
        return QString();
    const QByteArray decoded = QByteArray::fromPercentEncoding(bytes);
    QStringDecoder toUtf16(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = toUtf16(decoded);
    return toUtf16.hasError() ? QString() : text;
}

std::optional<QString> CopyscapeApi::resultsPage(const QByteArray &answer)
{
    QDomDocument doc;
    if (!doc.setContent(QString::fromUtf8(answer)))
        return std::nullopt;
    if (doc.elementsByTagName(QStringLiteral("querywords")).isEmpty())
        return std::nullopt;

    QString page = QStringLiteral("<html>\n<body>\n     <b>Query Words: ") +
                   escapeTags(firstText(doc, QStringLiteral("querywords"))) +
                   QStringLiteral("</b><br />\n     <b>Results: ") +
                   escapeTags(firstText(doc, QStringLiteral("count"))) +
                   QStringLiteral("</b><br /><br />\n\n");
    const QDomNodeList results = doc.elementsByTagName(QStringLiteral("result"));
    for (int i = 0; i < results.size(); ++i) {
        const QDomElement result = results.item(i).toElement();
        QString url = decodeUrl(firstText(result, QStringLiteral("url")));
        url.replace(u'"', QStringLiteral("%22"));
        url.replace(u'<', QStringLiteral("%3C"));
        url.replace(u'>', QStringLiteral("%3E"));
        page += QStringLiteral("     ") + QString::number(i + 1) + QStringLiteral(". <a href=\"") +
                url + QStringLiteral("\">") +
                escapeTags(firstText(result, QStringLiteral("title"))) +
                QStringLiteral("</a><br />\n");
        if (hasElement(result, QStringLiteral("textsnippet")))
            page += QStringLiteral("<b>Text Snippet:</b> ") +
                    escapeTags(firstText(result, QStringLiteral("textsnippet"))) +
                    QStringLiteral("<br />");
        if (hasElement(result, QStringLiteral("htmlsnippet")))
            page += QStringLiteral("<b>HTML Snippet:</b> ") +
                    firstText(result, QStringLiteral("htmlsnippet")) + QStringLiteral("<br />");
        page += QStringLiteral("\n<br />");
    }
    page += QStringLiteral("</body>\n</html>");
    return page;
}

QString CopyscapeApi::failureText(const QByteArray &answer)
{
    QDomDocument doc;
    if (doc.setContent(QString::fromUtf8(answer))) {
        const QString error = firstText(doc, QStringLiteral("error")).trimmed();
        if (!error.isEmpty())
            return QStringLiteral("Copyscape did not check the text: ") + error;
    }
    if (answer.trimmed().isEmpty())
        return QStringLiteral("Copyscape sent an empty answer.");
    return QStringLiteral("Copyscape's answer is not a list of results:\n\n") +
           QString::fromUtf8(answer);
}

std::optional<QUrl> CopyscapeApi::linkTarget(const QString &link)
{
    static const QRegularExpression scheme(QStringLiteral("^([A-Za-z][A-Za-z0-9+.-]*):"));
    const QString text = link.trimmed();
    if (text.isEmpty())
        return std::nullopt;
    const QRegularExpressionMatch m = scheme.match(text);
    // "localhost:8080/page" has no scheme: a digit after the ":" starts a port.
    const QString rest = m.hasMatch() ? text.mid(m.capturedEnd()) : QString();
    const bool hasScheme = m.hasMatch() && !(!rest.isEmpty() && rest.front().isDigit());
    if (!hasScheme)
        return QUrl(QStringLiteral("http://") + text, QUrl::TolerantMode);
    const QString name = m.captured(1).toLower();
    if (name != QLatin1String("http") && name != QLatin1String("https"))
        return std::nullopt;
    return QUrl(text, QUrl::TolerantMode);
}
