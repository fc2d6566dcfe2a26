#include "htmllink.h"

#include <QList>

namespace {

struct Attribute
{
    QString name;
    QString value;
};

// Splits the attribute part of an opening tag («href='a b' target=_blank») into name / value
// pairs. White space separates attributes except inside quotes; a piece without «=» has an
// empty value.
QList<Attribute> attributes(QStringView part)
{
    QList<Attribute> result;
    qsizetype i = 0;
    const qsizetype n = part.size();
    while (i < n) {
        while (i < n && part[i].isSpace())
            ++i;
        if (i >= n)
            break;
        const qsizetype nameStart = i;
        while (i < n && !part[i].isSpace() && part[i] != QLatin1Char('='))
            ++i;
        Attribute attribute{part.mid(nameStart, i - nameStart).toString(), QString()};
        if (i < n && part[i] == QLatin1Char('=')) {
            ++i;
            if (i < n && (part[i] == QLatin1Char('"') || part[i] == QLatin1Char('\''))) {
                const QChar quote = part[i++];
                const qsizetype valueStart = i;
                while (i < n && part[i] != quote)
                    ++i;
                attribute.value = part.mid(valueStart, i - valueStart).toString();
                if (i < n)
                    ++i; // the closing quote
            } else {
                const qsizetype valueStart = i;
                while (i < n && !part[i].isSpace())
                    ++i;
                attribute.value = part.mid(valueStart, i - valueStart).toString();
            }
        }
        attribute.value.replace(QLatin1String("&quot;"), QLatin1String("\""));
        result.append(attribute);
    }
    return result;
}

// Index of the «>» that ends the opening tag starting at `from`, skipping quoted values; -1
// when the tag never ends.
qsizetype openingTagEnd(QStringView text, qsizetype from)
{
    QChar quote;
    for (qsizetype i = from; i < text.size(); ++i) {
        const QChar c = text[i];
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
        } else if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
            quote = c;
        } else if (c == QLatin1Char('>')) {
            return i;
        }
    }
    return -1;
}

QString quoted(const QString &name, QString value)
{
    value.replace(QLatin1Char('"'), QLatin1String("&quot;"));
    return QLatin1Char(' ') + name + QStringLiteral("=\"") + value + QLatin1Char('"');
}

} // namespace

HtmlLink HtmlLink::parse(const QString &selection)
{
    HtmlLink link;
    link.text = selection;

    const QString trimmed = selection.trimmed();
    // «<a» must be the whole tag name: «<abbr>…</a>» is not a link.
    const bool opens = trimmed.startsWith(QLatin1String("<a"), Qt::CaseInsensitive) &&
                       trimmed.size() > 2 &&
                       (trimmed[2].isSpace() || trimmed[2] == QLatin1Char('>'));
    if (!opens || !trimmed.endsWith(QLatin1String("</a>"), Qt::CaseInsensitive))
        return link;
    const qsizetype tagEnd = openingTagEnd(trimmed, 2);
    const qsizetype closeStart = trimmed.size() - 4;
    if (tagEnd < 0 || tagEnd > closeStart)
        return link;

    link.text = trimmed.mid(tagEnd + 1, closeStart - tagEnd - 1);
    for (const Attribute &a : attributes(QStringView(trimmed).mid(2, tagEnd - 2))) {
        const QString name = a.name.toLower();
        if (name == QLatin1String("target")) {
            if (a.value == QLatin1String("_self"))
                link.target = Target::SameWindow;
            else if (a.value == QLatin1String("_blank"))
                link.target = Target::NewWindow;
            else
                link.target = Target::NoneSet;
        } else if (name == QLatin1String("class")) {
            link.cssClass = a.value;
        } else if (name == QLatin1String("title")) {
            link.title = a.value;
        } else if (name == QLatin1String("href")) {
            link.url = a.value;
        }
    }
    return link;
}

QString HtmlLink::toHtml() const
{
    QString html = QStringLiteral("<a");
    if (target == Target::SameWindow)
        html += quoted(QStringLiteral("target"), QStringLiteral("_self"));
    else if (target == Target::NewWindow)
        html += quoted(QStringLiteral("target"), QStringLiteral("_blank"));
    if (!cssClass.isEmpty())
        html += quoted(QStringLiteral("class"), cssClass);
    if (!title.isEmpty())
        html += quoted(QStringLiteral("title"), title);
    html += quoted(QStringLiteral("href"), url);
    html += QLatin1Char('>') + text + QStringLiteral("</a>");
    return html;
}
