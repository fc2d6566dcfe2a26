// Thesaurus conversion from arbitrary bytes: it never crashes, and every list line it writes is
// one the list loader keeps: a head word, at least two synonym fields, no field with a brace or a
// bar, no synonym equal to the head word, no duplicate ignoring case.
#include "synonyms/synonymfiles.h"
#include "synonyms/thesaurusimporter.h"

#include <QSet>
#include <QString>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    (void)SynonymFiles::parseVersionLine(QString::fromUtf8(bytes));
    (void)ThesaurusImporter::cleanEntry(QString::fromUtf8(bytes));

    const ThesaurusImporter::Result r = ThesaurusImporter::convert(bytes);
    if (!r.ok) {
        if (!r.body.isEmpty() || r.error.isEmpty())
            std::abort();
        return 0;
    }
    const QString body = QString::fromUtf8(r.body);
    if (!body.endsWith(u'\n') || body.toUtf8() != r.body)
        std::abort();
    const QStringList lines = body.split(u'\n', Qt::SkipEmptyParts);
    if (lines.size() != r.headWords)
        std::abort();
    for (const QString &line : lines) {
        const QStringList fields = line.split(u'|');
        const QString head = fields.first();
        if (head.isEmpty() || head != head.trimmed() || fields.size() < 3)
            std::abort();
        QSet<QString> seen;
        for (qsizetype i = 1; i < fields.size(); ++i) {
            const QString &f = fields[i];
            if (f.isEmpty() && i == 1 && fields.size() == 3)
                continue; // the empty field that keeps a single synonym
            if (f.isEmpty() || f != f.trimmed() || f.contains(u'{') || f.contains(u'}'))
                std::abort();
            const QString folded = f.toLower();
            if (folded == head.toLower() || seen.contains(folded))
                std::abort();
            seen.insert(folded);
        }
    }
    return 0;
}
