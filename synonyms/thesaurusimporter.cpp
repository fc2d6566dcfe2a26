#include "thesaurusimporter.h"

#include "storage/ownerfiles.h"

#include <QFile>
#include <QHash>
#include <QSet>
#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

constexpr Qt::CaseSensitivity ci = Qt::CaseInsensitive;

// Marks whose field is not a synonym of the head word at all.
bool isExcludingLabel(QStringView label)
{
    label = label.trimmed();
    static constexpr QStringView excluded[] = {u"antonym", u"generic term", u"related term",
                                               u"oberbegriff"};
    for (QStringView e : excluded) {
        if (label.compare(e, ci) == 0)
            return true;
    }
    // Spanish "Antónimo", Portuguese "Antônimo", Romanian "antonim", and the Spanish thesaurus's
    // own damaged "Ant\uFFFDnimo", whose replacement bytes read as ISO8859-1 become three letters.
    return label.size() <= 12 && label.startsWith(u"ant", ci) &&
           (label.endsWith(u"nimo", ci) || label.endsWith(u"nym", ci) ||
            label.endsWith(u"nim", ci));
}

// Writes the offered form of a synonym field to `out` (room for field.size() characters) and
// returns its length: annotations removed, blanks collapsed and trimmed. -1 for a field that is
// not a synonym at all; 0 when nothing usable is left.
qsizetype cleanInto(QStringView field, QChar *out)
{
    qsizetype n = 0;
    bool pendingSpace = false; // a blank is written only between two kept characters
    auto put = [&](QChar c) {
        if (c.isSpace()) {
            pendingSpace = pendingSpace || n > 0;
            return;
        }
        if (pendingSpace) {
            out[n++] = u' ';
            pendingSpace = false;
        }
        out[n++] = c;
    };

    int depth = 0;
    qsizetype groupStart = 0;
    for (qsizetype i = 0; i < field.size(); ++i) {
        const QChar c = field[i];
        if (c == u'(') {
            if (depth++ == 0)
                groupStart = i;
        } else if (c == u')' && depth > 0) {
            if (--depth == 0 && isExcludingLabel(field.sliced(groupStart + 1, i - groupStart - 1)))
                return -1;
        } else if (depth == 0) {
            put(c);
        }
    }
    // An opening parenthesis that is never closed is text, not an annotation.
    if (depth > 0) {
        for (qsizetype i = groupStart; i < field.size(); ++i)
            put(field[i]);
    }

    // Braces are spin syntax; U+FFFD marks text that could not be decoded; "..." marks a
    // template ("möchten Sie ...") that cannot stand in for the head word.
    const QStringView text(out, n);
    if (text.contains(u'{') || text.contains(u'}') || text.contains(QChar::ReplacementCharacter) ||
        text.contains(u"...") || text.contains(u'\u2026'))
        return 0;
    return n;
}

// The lines of a byte buffer, with a final line that lacks its line feed and without "\r".
class ByteLines
{
public:
    explicit ByteLines(QByteArrayView data) : begin(data.data()), p(begin), end(begin + data.size())
    {
    }
    bool atEnd() const { return p >= end; }
    qsizetype position() const { return p - begin; }
    QByteArrayView next()
    {
        const char *nl = static_cast<const char *>(std::memchr(p, '\n', end - p));
        if (!nl)
            nl = end;
        QByteArrayView line(p, nl - p);
        p = nl + 1;
        if (line.endsWith('\r'))
            line.chop(1);
        return line;
    }

private:
    const char *begin;
    const char *p;
    const char *end;
};

// One run of synonyms of a head word, kept as the UTF-8 text "|syn1|syn2" in the output pool. A
// head word that occurs more than once gets one run per occurrence, chained by `next`.
struct Run
{
    qsizetype offset = 0;
    qsizetype length = 0;
    qsizetype next = -1;
};

struct Head
{
    QString text;
    qsizetype firstRun = -1;
    qsizetype lastRun = -1;
    qsizetype count = 0;
};

// The synonyms of the head word being read, for the duplicate check: their text in one reused
// buffer, compared ignoring case; a hash set takes over for long lists (some Brazilian Portuguese
// head words have hundreds).
class SeenSynonyms
{
public:
    void reset(QStringView head)
    {
        text.clear();
        spans.clear();
        folded.clear();
        headWord = head;
    }
    // Room for a candidate of up to `size` characters at the end of the buffer.
    QChar *room(qsizetype size)
    {
        if (text.size() < used() + size)
            text.resize(std::max(used() + size, text.size() * 2));
        return text.data() + used();
    }
    bool has(QStringView s) const
    {
        if (s.compare(headWord, Qt::CaseInsensitive) == 0)
            return true;
        if (!folded.isEmpty())
            return folded.contains(s.toString().toLower());
        for (const auto &[off, len] : spans) {
            if (s.compare(QStringView(text.constData() + off, len), Qt::CaseInsensitive) == 0)
                return true;
        }
        return false;
    }
    // Keeps the candidate just written into room().
    void keep(qsizetype len)
    {
        spans.push_back({used(), len});
        if (spans.size() == hashFrom) {
            for (const auto &[off, l] : spans)
                folded.insert(QStringView(text.constData() + off, l).toString().toLower());
        } else if (spans.size() > hashFrom) {
            folded.insert(
                QStringView(text.constData() + spans.back().first, len).toString().toLower());
        }
    }
    QStringView last() const
    {
        return QStringView(text.constData() + spans.back().first, spans.back().second);
    }

private:
    static constexpr size_t hashFrom = 24;
    qsizetype used() const { return spans.empty() ? 0 : spans.back().first + spans.back().second; }

    QString text;
    std::vector<std::pair<qsizetype, qsizetype>> spans;
    QSet<QString> folded;
    QStringView headWord; // the head word's text, owned by its Head
};

} // namespace

QString ThesaurusImporter::defaultFolder()
{
    QString folder = qEnvironmentVariable("REWORDIX_THESAURUS_DIR");
    if (folder.isEmpty())
        folder = QStringLiteral("/usr/share/mythes/");
    if (!folder.endsWith(u'/'))
        folder += u'/';
    return folder;
}

QStringList ThesaurusImporter::thesaurusFileNames(const QString &code)
{
    static const QHash<QString, QStringList> files = {
        {"eng", {"th_en_US_v2.dat"}},
        {"ara", {"th_ar_EG_v2.dat"}},
        {"rom", {"th_ro_RO_v2.dat"}},
        {"ger", {"th_de_DE_v2.dat"}},
        {"spa", {"th_es_ES_v2.dat"}},
        {"swe", {"th_sv_SE_v2.dat"}},
        {"ita", {"th_it_IT_v2.dat"}},
        {"fre", {"thes_fr.dat", "th_fr_FR_v2.dat"}},
        {"por", {"th_pt_PT_v2.dat", "th_pt_BR.dat"}},
        {"bul", {"th_bg_BG_v2.dat"}},
    };
    return files.value(code);
}

QString ThesaurusImporter::installedThesaurus(const QString &code, const QString &folder)
{
    QString dir = folder;
    if (!dir.isEmpty() && !dir.endsWith(u'/'))
        dir += u'/';
    for (const QString &name : thesaurusFileNames(code)) {
        if (QFile::exists(dir + name))
            return dir + name;
    }
    return {};
}

std::optional<QString> ThesaurusImporter::cleanEntry(QStringView field)
{
    QString out(field.size(), Qt::Uninitialized);
    const qsizetype n = cleanInto(field, out.data());
    if (n < 0)
        return std::nullopt;
    out.truncate(n);
    return out;
}

ThesaurusImporter::Result ThesaurusImporter::convert(QByteArrayView dat, const Progress &progress)
{
    Result result;
    ByteLines lines(dat);
    const QByteArray encoding = lines.next().trimmed().toByteArray();
    if (encoding.isEmpty() || encoding.size() > 40) {
        result.error = QStringLiteral("no encoding name on line 1");
        return result;
    }
    QStringDecoder decoder(encoding.constData());
    if (!decoder.isValid()) {
        result.error = QStringLiteral("unknown encoding \"%1\"").arg(QString::fromLatin1(encoding));
        return result;
    }
    QStringEncoder utf8(QStringEncoder::Utf8);

    // Lines are decoded one at a time into a reused buffer, and the kept synonyms go straight
    // into the UTF-8 pool: the whole file is never held as UTF-16.
    QString line;
    auto decode = [&](QByteArrayView bytes) {
        if (line.size() < bytes.size() + 4)
            line.resize(bytes.size() + 4);
        // Undecodable bytes become U+FFFD, and cleanInto() drops the fields that hold one.
        const QChar *end = decoder.appendToBuffer(line.data(), bytes);
        return QStringView(line.constData(), end);
    };

    // Sized up front from the input (the output is about a third of it in practice): growing it
    // later would copy it and touch fresh pages again.
    QByteArray pool(dat.size() / 2 + (1 << 16), Qt::Uninitialized);
    qsizetype poolUsed = 0;
    auto appendUtf8 = [&](QStringView s) {
        const qsizetype need = poolUsed + 1 + s.size() * 3;
        if (pool.size() < need)
            pool.resize(std::max(need, pool.size() * 2 + (1 << 20)));
        pool[poolUsed++] = '|';
        char *end = utf8.appendToBuffer(pool.data() + poolUsed, s);
        poolUsed = end - pool.constData();
    };

    // About one head line per 120 bytes in the installed thesauri.
    const qsizetype expectedHeads = dat.size() / 100 + 16;
    std::vector<Head> heads;
    heads.reserve(expectedHeads);
    std::vector<Run> runs;
    runs.reserve(expectedHeads);
    QHash<QString, qsizetype> byKey;
    byKey.reserve(expectedHeads);
    SeenSynonyms seen;
    qsizetype records = 0;

    while (!lines.atEnd()) {
        const QByteArrayView headBytes = lines.next();
        // "word|N": the word ends at the first bar, and all that follows is the count.
        const qsizetype bar = headBytes.indexOf('|');
        if (bar < 0)
            continue;
        bool isNumber = false;
        const int meanings = headBytes.sliced(bar + 1).trimmed().toInt(&isNumber);
        if (!isNumber || meanings < 0)
            continue; // not a head line: look for the next one

        const std::optional<QString> headText = cleanEntry(decode(headBytes.first(bar)));
        qsizetype h = -1;
        if (headText && !headText->isEmpty()) {
            const QString key = headText->toLower();
            h = byKey.value(key, -1);
            if (h < 0) {
                h = qsizetype(heads.size());
                heads.push_back({*headText});
                byKey.insert(key, h);
                seen.reset(heads.back().text);
            } else {
                seen.reset(heads[h].text);
                // A head word met again (case aside): its earlier synonyms count as seen.
                for (qsizetype r = heads[h].firstRun; r >= 0; r = runs[r].next) {
                    const QString earlier =
                        QString::fromUtf8(pool.constData() + runs[r].offset, runs[r].length);
                    for (QStringView s : QStringView(earlier).tokenize(u'|', Qt::SkipEmptyParts)) {
                        std::copy(s.begin(), s.end(), seen.room(s.size()));
                        seen.keep(s.size());
                    }
                }
            }
        }

        Run run{poolUsed, 0, -1};
        for (int m = 0; m < meanings && !lines.atEnd(); ++m) {
            const QByteArrayView meaningBytes = lines.next();
            if (h < 0)
                continue; // the senses of an empty head word are read past
            const QStringView meaning = decode(meaningBytes);
            // Field 0 is the part of speech (or a note), never a synonym.
            qsizetype from = meaning.indexOf(u'|');
            while (from >= 0) {
                const qsizetype to = meaning.indexOf(u'|', from + 1);
                const QStringView field =
                    to < 0 ? meaning.sliced(from + 1) : meaning.sliced(from + 1, to - from - 1);
                from = to;
                QChar *out = seen.room(field.size());
                const qsizetype n = cleanInto(field, out);
                if (n <= 0 || seen.has(QStringView(out, n)))
                    continue;
                seen.keep(n);
                appendUtf8(seen.last());
                ++heads[h].count;
            }
        }

        if (h >= 0 && poolUsed > run.offset) {
            run.length = poolUsed - run.offset;
            const qsizetype r = qsizetype(runs.size());
            runs.push_back(run);
            if (heads[h].lastRun >= 0)
                runs[heads[h].lastRun].next = r;
            else
                heads[h].firstRun = r;
            heads[h].lastRun = r;
        }

        if (progress && ++records % 8192 == 0)
            progress(lines.position(), dat.size());
    }

    QByteArray &body = result.body;
    body.reserve(poolUsed + qsizetype(heads.size()) * 24);
    for (const Head &head : heads) {
        if (head.count == 0)
            continue;
        body += head.text.toUtf8();
        // A list line needs two synonym fields to be loaded; an empty field in between keeps a
        // head word with a single synonym ("'tween decks||between decks").
        if (head.count == 1)
            body += '|';
        for (qsizetype r = head.firstRun; r >= 0; r = runs[r].next)
            body.append(pool.constData() + runs[r].offset, runs[r].length);
        body += '\n';
        ++result.headWords;
    }
    if (progress)
        progress(dat.size(), dat.size());
    if (result.headWords == 0) {
        result.body.clear();
        result.error = QStringLiteral("no head word with synonyms");
        return result;
    }
    result.ok = true;
    return result;
}

ThesaurusImporter::Result ThesaurusImporter::importFile(const QString &source, const QString &dest,
                                                        const Progress &progress)
{
    Result result;
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly)) {
        result.error = QStringLiteral("cannot read %1: %2").arg(source, in.errorString());
        return result;
    }
    // Mapping spares a copy of the whole file; a file that cannot be mapped is read.
    QByteArray copy;
    QByteArrayView dat;
    if (const uchar *mapped = in.size() > 0 ? in.map(0, in.size()) : nullptr) {
        dat = QByteArrayView(mapped, in.size());
    } else {
        copy = in.readAll();
        if (in.error() != QFileDevice::NoError) {
            result.error = QStringLiteral("cannot read %1: %2").arg(source, in.errorString());
            return result;
        }
        dat = copy;
    }

    result = convert(dat, progress);
    if (!result.ok) {
        result.error = source + ": " + result.error;
        return result;
    }

    // Owner-only, and a link planted at the destination is refused, not written through.
    storage::OwnerOnlySaveFile out(dest);
    const QByteArray version = versionLine.toUtf8() + '\n';
    if (!out.open() || !out.write(version) || !out.write(result.body) || !out.commit()) {
        result.ok = false;
        result.error = out.errorString();
    }
    result.body.clear(); // written; the store reads the file like any other list
    return result;
}
