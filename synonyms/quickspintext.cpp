#include "quickspintext.h"

#include "storage/language.h"

namespace quickspin {

namespace {

bool isWhite(QChar c)
{
    return c.unicode() <= 32;
}

// Letters and digits of every script and the underscore make up words.
bool isWordCharacter(char32_t c)
{
    return c == U'_' || QChar::isLetterOrNumber(c);
}

// The character that ends just before index i (> 0), a surrogate pair read as one.
char32_t codePointBefore(QStringView text, qsizetype i)
{
    const QChar last = text[i - 1];
    if (last.isLowSurrogate() && i >= 2 && text[i - 2].isHighSurrogate())
        return QChar::surrogateToUcs4(text[i - 2], last);
    return last.unicode();
}

// The character that starts at index i (< size), a surrogate pair read as one.
char32_t codePointAt(QStringView text, qsizetype i)
{
    const QChar first = text[i];
    if (first.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
        return QChar::surrogateToUcs4(first, text[i + 1]);
    return first.unicode();
}

// Index i falls between the two halves of a surrogate pair.
bool splitsPair(QStringView text, qsizetype i)
{
    return i > 0 && i < text.size() && text[i - 1].isHighSurrogate() && text[i].isLowSurrogate();
}

} // namespace

QString capitalised(const QString &entry, bool capital)
{
    if (!capital || entry.isEmpty())
        return entry;
    QString out = entry;
    out[0] = out[0].toUpper();
    return out;
}

GroupChoice groupText(const QStringList &entries, const QString &label, const QString &word)
{
    GroupChoice choice;
    QString g = entries.size() > 1 ? QStringLiteral("{") : QString();
    for (qsizetype i = 0; i < entries.size(); ++i) {
        const QString &e = entries[i];
        if (e.compare(u"(blank)", Qt::CaseInsensitive) != 0) {
            g += e;
            if (i + 1 < entries.size())
                g += u'|';
            continue;
        }
        // The blank becomes the group's first, empty alternative wherever it was ticked.
        choice.blank = true;
        const QString t = g.trimmed();
        if (t == u"{")
            g = QStringLiteral("{|");
        else if (t == u"{|")
            continue;
        else if (t.isEmpty())
            // The blank alone makes the text shown optional. After an earlier blank the label is
            // empty; the word itself keeps the group from losing its only real alternative.
            g = QStringLiteral("{|") + (label.isEmpty() ? word : label);
        else
            g = QStringLiteral("{|") + g.mid(1);
    }
    choice.label = choice.blank || entries.isEmpty() ? QString() : entries.first();

    if (!choice.blank && g.startsWith(u"{|"))
        g.remove(1, 1);
    if (g.startsWith(u"{||"))
        g.remove(1, 1);
    if (g.endsWith(u'|'))
        g.chop(1);
    if (g.startsWith(u'{'))
        g += u'}';
    if (g == u"{}")
        g.clear();
    choice.group = g;
    return choice;
}

Restored deselectedText(const QString &label, const QString &selectedText)
{
    Restored r{label, label};
    if (label.isEmpty())
        r.text = QStringLiteral("{") + selectedText.mid(2); // "{|fast|quick}" -> "{fast|quick}"
    if (!r.text.contains(u'|') && r.text.size() >= 2 && r.text.startsWith(u'{') &&
        r.text.endsWith(u'}')) {
        r.text = r.text.mid(1, r.text.size() - 2);
        r.label = r.text;
    }
    return r;
}

std::optional<Span> groupAround(QStringView paragraph, qsizetype p)
{
    const qsizetype len = paragraph.size();
    if (len == 0)
        return std::nullopt;
    p = qBound(qsizetype(0), p, len);
    if (p < len && paragraph[p] == u'{')
        ++p;
    // Just after a "}" the search starts on the group's last character. When that character is
    // itself a "}" the caret ends a group holding a nested one, which is never found whole;
    // stepping back once more would land in the nested group, which the caret does not touch.
    if (p >= 2 && paragraph[p - 1] == u'}')
        p -= 2;
    else if (p >= 1 && p < len && paragraph[p] == u'}')
        --p;

    qsizetype l = -1;
    for (qsizetype i = qMin(p, len - 1); i >= 0; --i) {
        if (paragraph[i] == u'}')
            break;
        if (paragraph[i] == u'{') {
            l = i;
            break;
        }
    }
    if (l < 0)
        return std::nullopt;
    for (qsizetype i = p; i < len; ++i) {
        if (paragraph[i] == u'{')
            break;
        if (paragraph[i] == u'}')
            return Span{l, i};
    }
    return std::nullopt;
}

qsizetype wordPosition(QStringView paragraph, qsizetype caret)
{
    const qsizetype len = paragraph.size();
    qsizetype q = qBound(qsizetype(0), caret, len);
    if (q == len)
        --q;
    if (q >= 1 && q < len && (paragraph[q] == u'.' || paragraph[q] == u',') &&
        !isWhite(paragraph[q - 1]))
        --q;
    return q;
}

QList<qsizetype> wholeWordOccurrences(const QString &text, const QString &word)
{
    // A plain search with the boundary checked by hand: a pattern built from the word would need
    // every character escaped, and the escape of NUL ("\\0") takes following digits as an octal
    // number, so a word holding NUL before a digit found other text.
    QList<qsizetype> starts;
    if (word.isEmpty())
        return starts;
    const QStringView all(text);
    qsizetype from = 0;
    while ((from = all.indexOf(word, from)) >= 0) {
        const qsizetype end = from + word.size();
        if (!splitsPair(all, from) && !splitsPair(all, end) &&
            (from == 0 || !isWordCharacter(codePointBefore(all, from))) &&
            (end == all.size() || !isWordCharacter(codePointAt(all, end)))) {
            starts.append(from);
            from = end;
        } else {
            ++from;
        }
    }
    return starts;
}

QRegularExpression addFieldPattern(const QString &languageCode)
{
    const int index = Language::indexOfCode(languageCode.toLower());
    const Language::Script script =
        index >= 0 ? Language::all().at(index).script : Language::Script::Latin;
    QString letters;
    switch (script) {
    case Language::Script::Hebrew:
        letters = QStringLiteral("\\x{0590}-\\x{05FF}");
        break;
    case Language::Script::Arabic:
        letters = QStringLiteral("\\x{0600}-\\x{06FF}");
        break;
    case Language::Script::Cyrillic:
        letters = QStringLiteral("\\x{0400}-\\x{04FF}");
        break;
    case Language::Script::Latin:
        letters = QStringLiteral("\\x{0000}-\\x{017F}\\x{0218}-\\x{021B}\\x{1E00}-\\x{1EFF}");
        break;
    }
    // Blanks, tab, digits, the bar and the punctuation of phrases and spin text.
    const QString punctuation = QStringLiteral("\\s\\t\\d#$%&'()*+,\\-./:;<=>?@\\[\\]^_`{|}~\\\\!");
    return QRegularExpression(QStringLiteral("[") + letters + punctuation + QStringLiteral("]*"),
                              QRegularExpression::UseUnicodePropertiesOption);
}

} // namespace quickspin
