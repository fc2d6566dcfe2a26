#include "thesaurusimporter.h"

#include "storage/ownerfiles.h"

#include <QCryptographicHash>
#include <QFile>
#include <QHash>
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

bool isSimilarLabel(QStringView label)
{
    return label.trimmed().compare(u"similar term", ci) == 0;
}

// Writes the offered form of a synonym field to `out` (room for field.size() characters) and
// returns its length: annotations removed, blanks collapsed and trimmed. -1 for a field that is
// not a synonym at all; 0 when nothing usable is left. `similar` is set when the field was marked
// as a similar term rather than a synonym.
qsizetype cleanInto(QStringView field, QChar *out, bool *similar = nullptr)
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
            if (--depth == 0) {
                const QStringView label = field.sliced(groupStart + 1, i - groupStart - 1);
                if (isExcludingLabel(label))
                    return -1;
                if (similar && isSimilarLabel(label))
                    *similar = true;
            }
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

// One synonym of a head word, kept as the UTF-8 text "|syn" in the output pool, with what orders
// it: similar terms after synonyms, then the more used words first, then the thesaurus order.
struct Entry
{
    qsizetype offset = 0;
    qsizetype length = 0;
    bool similar = false;
    int uses = 0;
};

struct Head
{
    QString text;
    std::vector<Entry> entries;
};

// The WordNet part-of-speech digit of an English meaning line's first field ("(noun)" -> 1), as
// the sense keys of cntlist.rev write it; 0 for other fields.
int partOfSpeech(QStringView field)
{
    static constexpr QStringView names[] = {u"(noun)", u"(verb)", u"(adj)", u"(adv)"};
    for (int i = 0; i < 4; ++i) {
        if (field.trimmed() == names[i])
            return i + 1;
    }
    return 0;
}

// A name rather than a word: an upper-case first letter, unless the whole entry is upper-case (an
// abbreviation such as «TV»).
bool looksLikeName(QStringView entry)
{
    if (entry.isEmpty() || !entry.front().isUpper())
        return false;
    return std::any_of(entry.begin(), entry.end(), [](QChar c) { return c.isLower(); });
}

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
    // The index of the kept synonym equal to `s` ignoring case; -2 for the head word itself, -1
    // when not seen.
    qsizetype indexOf(QStringView s) const
    {
        if (s.compare(headWord, Qt::CaseInsensitive) == 0)
            return -2;
        if (!folded.isEmpty())
            return folded.value(s.toString().toLower(), -1);
        for (size_t i = 0; i < spans.size(); ++i) {
            const auto &[off, len] = spans[i];
            if (s.compare(QStringView(text.constData() + off, len), Qt::CaseInsensitive) == 0)
                return qsizetype(i);
        }
        return -1;
    }
    // Keeps the candidate just written into room().
    void keep(qsizetype len)
    {
        spans.push_back({used(), len});
        if (spans.size() == hashFrom) {
            for (size_t i = 0; i < spans.size(); ++i) {
                const auto &[off, l] = spans[i];
                folded.insert(QStringView(text.constData() + off, l).toString().toLower(),
                              qsizetype(i));
            }
        } else if (spans.size() > hashFrom) {
            folded.insert(
                QStringView(text.constData() + spans.back().first, len).toString().toLower(),
                qsizetype(spans.size() - 1));
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
    QHash<QString, qsizetype> folded;
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

ThesaurusImporter::SenseCounts ThesaurusImporter::readSenseCounts(const QString &cntlist)
{
    SenseCounts counts;
    QFile file(cntlist);
    if (!file.open(QIODevice::ReadOnly))
        return counts;
    const QByteArray data = file.readAll();
    counts.reserve(data.size() / 30);
    ByteLines lines(data);
    while (!lines.atEnd()) {
        // "good%3:00:01:: 1 190": the lemma ("_" for blanks), the part of speech (1 noun, 2 verb,
        // 3 adjective, 4 adverb, 5 adjective satellite), then sense number and tag count.
        const QByteArrayView line = lines.next();
        const qsizetype percent = line.indexOf('%');
        const qsizetype blank = line.lastIndexOf(' ');
        if (percent <= 0 || percent + 1 >= line.size() || blank <= percent)
            continue;
        int pos = line[percent + 1] - '0';
        if (pos == 5)
            pos = 3;
        if (pos < 1 || pos > 4)
            continue;
        bool ok = false;
        const int uses = line.sliced(blank + 1).toInt(&ok);
        if (!ok || uses <= 0)
            continue;
        QString key = QString::fromUtf8(line.first(percent)).toLower();
        key.replace(u'_', u' ');
        key += u'%';
        key += QChar(u'0' + pos);
        counts[key] += uses;
    }
    return counts;
}

ThesaurusImporter::Options ThesaurusImporter::optionsFor(const QString &code,
                                                         const QString &wordNetFolder)
{
    Options options;
    if (code == u"eng")
        options.senseCounts = readSenseCounts(wordNetFolder + QStringLiteral("cntlist.rev"));
    options.nounsCapitalised = code == u"ger";
    return options;
}

ThesaurusImporter::Result ThesaurusImporter::convert(QByteArrayView dat, const Progress &progress,
                                                     const Options &options)
{
    const SenseCounts &senseCounts = options.senseCounts;
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

    // How often a word is used in a part of speech; the key is built in one reused buffer.
    QString countKey;
    auto usesOf = [&](QStringView word, int pos) {
        if (senseCounts.isEmpty() || pos == 0)
            return 0;
        countKey.resize(0);
        for (QChar c : word)
            countKey += c.toLower();
        countKey += u'%';
        countKey += QChar(u'0' + pos);
        return senseCounts.value(countKey, 0);
    };

    // About one head line per 120 bytes in the installed thesauri.
    const qsizetype expectedHeads = dat.size() / 100 + 16;
    std::vector<Head> heads;
    heads.reserve(expectedHeads);
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
        // Under a head word that is not a name, names are not synonyms («Robert Brown» under
        // «brown»); a capitalised head (a German noun) keeps its capitalised entries.
        bool dropNames = false;
        if (headText && !headText->isEmpty()) {
            dropNames = !headText->front().isUpper();
            const QString key = headText->toLower();
            h = byKey.value(key, -1);
            if (h < 0) {
                h = qsizetype(heads.size());
                heads.push_back({*headText, {}});
                byKey.insert(key, h);
                seen.reset(heads.back().text);
            } else {
                seen.reset(heads[h].text);
                // A head word met again (case aside): its earlier synonyms count as seen, in
                // their order, so that seen index i is entry i.
                for (const Entry &e : heads[h].entries) {
                    const QString earlier =
                        QString::fromUtf8(pool.constData() + e.offset + 1, e.length - 1);
                    std::copy(earlier.begin(), earlier.end(), seen.room(earlier.size()));
                    seen.keep(earlier.size());
                }
            }
        }

        for (int m = 0; m < meanings && !lines.atEnd(); ++m) {
            const QByteArrayView meaningBytes = lines.next();
            if (h < 0)
                continue; // the senses of an empty head word are read past
            const QStringView meaning = decode(meaningBytes);
            // Field 0 is the part of speech (or a note), never a synonym.
            qsizetype from = meaning.indexOf(u'|');
            const int pos = from < 0 ? 0 : partOfSpeech(meaning.first(from));
            bool dropNamesHere = dropNames;
            if (dropNames && options.nounsCapitalised) {
                // "-|Datei|File" under "datei": the sense of a noun.
                for (QStringView f : meaning.tokenize(u'|')) {
                    // Compared without its labels: "Haus (Hauptform)".
                    const std::optional<QString> c = cleanEntry(f);
                    if (c && !c->isEmpty() && c->front().isUpper() &&
                        c->compare(heads[h].text, Qt::CaseInsensitive) == 0) {
                        dropNamesHere = false;
                        break;
                    }
                }
            }
            while (from >= 0) {
                const qsizetype to = meaning.indexOf(u'|', from + 1);
                const QStringView field =
                    to < 0 ? meaning.sliced(from + 1) : meaning.sliced(from + 1, to - from - 1);
                from = to;
                QChar *out = seen.room(field.size());
                bool similar = false;
                const qsizetype n = cleanInto(field, out, &similar);
                if (n <= 0)
                    continue;
                const QStringView text(out, n);
                if (dropNamesHere && looksLikeName(text))
                    continue;
                const int uses = usesOf(text, pos);
                const qsizetype index = seen.indexOf(text);
                std::vector<Entry> &entries = heads[h].entries;
                if (index >= 0) {
                    // Met again: it counts as a synonym if it is one in any sense, and with its
                    // most used sense.
                    Entry &e = entries[index];
                    e.similar = e.similar && similar;
                    e.uses = std::max(e.uses, uses);
                    continue;
                }
                if (index == -2)
                    continue; // the head word itself
                seen.keep(n);
                const qsizetype offset = poolUsed;
                appendUtf8(seen.last());
                entries.push_back({offset, poolUsed - offset, similar, uses});
            }
        }

        if (progress && ++records % 8192 == 0)
            progress(lines.position(), dat.size());
    }

    QByteArray &body = result.body;
    body.reserve(poolUsed + qsizetype(heads.size()) * 24);
    for (Head &head : heads) {
        if (head.entries.empty())
            continue;
        // Synonyms before similar terms, the more used first; the thesaurus order otherwise.
        std::stable_sort(head.entries.begin(), head.entries.end(),
                         [](const Entry &a, const Entry &b) {
                             if (a.similar != b.similar)
                                 return b.similar;
                             return a.uses > b.uses;
                         });
        body += head.text.toUtf8();
        // A list line needs two synonym fields to be loaded; an empty field in between keeps a
        // head word with a single synonym ("'tween decks||between decks").
        if (head.entries.size() == 1)
            body += '|';
        for (const Entry &e : head.entries)
            body.append(pool.constData() + e.offset, e.length);
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
                                                        const Progress &progress,
                                                        const Options &options)
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

    result = convert(dat, progress, options);
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
        result.body.clear();
        return result;
    }
    // The record names this importer and the list's checksum: a later importer rebuilds the list
    // only while it is still the one written here.
    QCryptographicHash sha1(QCryptographicHash::Sha1);
    sha1.addData(version);
    sha1.addData(result.body);
    const QByteArray record = "importer " + QByteArray::number(revision) + "\nsha1 " +
                              sha1.result().toHex() + "\nsource " + QFile::encodeName(source) +
                              '\n';
    const QString recordError = storage::writeOwnerOnlyFile(recordFile(dest), record);
    if (!recordError.isEmpty())
        qWarning("Import record not written: %s", qPrintable(recordError));
    result.body.clear(); // written; the store reads the file like any other list
    return result;
}

QString ThesaurusImporter::recordFile(const QString &list)
{
    return list + QStringLiteral(".import");
}

bool ThesaurusImporter::needsRebuild(const QString &list)
{
    QFile file(list);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    QFile recordIn(recordFile(list));
    if (!recordIn.open(QIODevice::ReadOnly)) {
        // Lists written before the importer kept a record: version 0 is the importer's own, as
        // the update server's lists are always newer.
        return file.readLine(64).trimmed() == versionLine.toUtf8();
    }
    int madeBy = -1;
    QByteArray checksum;
    for (const QByteArray &line : recordIn.read(4096).split('\n')) {
        if (line.startsWith("importer "))
            madeBy = line.sliced(9).trimmed().toInt();
        else if (line.startsWith("sha1 "))
            checksum = line.sliced(5).trimmed();
    }
    if (madeBy < 0 || madeBy >= revision || checksum.isEmpty())
        return false;
    // Only the list as this program wrote it: a list from the server or changed by hand since
    // has another checksum and is left alone.
    QCryptographicHash sha1(QCryptographicHash::Sha1);
    if (!sha1.addData(&file))
        return false;
    return sha1.result().toHex() == checksum;
}
