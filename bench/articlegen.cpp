#include "articlegen.h"

#include <QRandomGenerator>
#include <QStringList>

namespace benchdata {
namespace {

const char *const vocabulary[] = {
    "the",     "quick",   "brown",   "fox",    "jumps",    "over",   "lazy",    "dog",
    "writer",  "article", "content", "reader", "search",   "engine", "unique",  "copy",
    "simple",  "fast",    "rapid",   "clever", "garden",   "house",  "market",  "river",
    "bright",  "morning", "evening", "travel", "journey",  "people", "company", "product",
    "great",   "small",   "large",   "happy",  "careful",  "modern", "classic", "useful",
    "service", "quality", "price",   "value",  "business", "online", "website", "page",
    "make",    "build",   "create",  "write",  "read",     "find",   "choose",  "offer",
    "always",  "often",   "never",   "really", "quite",    "very",   "most",    "every",
};
constexpr int vocabularySize = int(sizeof(vocabulary) / sizeof(vocabulary[0]));

class ArticleWriter
{
public:
    explicit ArticleWriter(quint32 seed) : rng(seed) {}

    QString word() { return QString::fromLatin1(vocabulary[rng.bounded(vocabularySize)]); }

    // A group of 2-6 single-word alternatives; one in ten holds a nested group.
    QString group()
    {
        const int n = 2 + int(rng.bounded(5));
        QStringList alternatives;
        for (int i = 0; i < n; ++i)
            alternatives << word();
        if (rng.bounded(10) == 0) {
            const int at = int(rng.bounded(n));
            alternatives[at] = QStringLiteral("{%1|%2} %3").arg(word(), word(), word());
        }
        return QLatin1Char('{') + alternatives.join(QLatin1Char('|')) + QLatin1Char('}');
    }

    // A plain sentence of `length` words, about 30% of them spun.
    QString sentence(int length)
    {
        QStringList parts;
        for (int i = 0; i < length; ++i)
            parts << (rng.bounded(100) < 30 ? group() : word());
        QString s = parts.join(QLatin1Char(' '));
        if (!s.isEmpty() && s.at(0).isLetter())
            s[0] = s.at(0).toUpper();
        return s + QLatin1Char('.');
    }

    QRandomGenerator rng;
};

} // namespace

QString spinArticle(int words, quint32 seed)
{
    ArticleWriter w(seed);
    QString out;
    out.reserve(words * 12);
    int written = 0;
    while (written < words) {
        const int sentences = 4 + int(w.rng.bounded(5));
        for (int s = 0; s < sentences && written < words; ++s) {
            const int length = 6 + int(w.rng.bounded(12));
            if (s > 0)
                out += QLatin1Char(' ');
            if (w.rng.bounded(12) == 0) {
                // A sentence group as the sentence dock writes it: the empty
                // first alternative keeps the original sentence outside.
                const QString a = w.sentence(length);
                const QString b = w.sentence(length);
                out += QStringLiteral("{|%1|%2}").arg(a, b);
            } else {
                out += w.sentence(length);
            }
            written += length;
        }
        out += QLatin1Char('\n');
    }
    return out;
}

QString spinSentence(int words, quint32 seed)
{
    return ArticleWriter(seed).sentence(words);
}

QString deepNesting(int depth)
{
    QString out;
    out.reserve(depth * 4 + 1);
    for (int i = 0; i < depth; ++i)
        out += QStringLiteral("{a|");
    out += QLatin1Char('b');
    out += QString(depth, QLatin1Char('}'));
    return out;
}

QString braceNesting(int depth)
{
    return QString(depth, QLatin1Char('{')) + QLatin1Char('a') + QString(depth, QLatin1Char('}'));
}

QString siblings(int count)
{
    QString out;
    out.reserve(count * 6);
    for (int i = 0; i < count; ++i)
        out += QStringLiteral("{a|b} ");
    return out;
}

} // namespace benchdata
