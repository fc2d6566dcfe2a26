#include "inflection.h"

#include <QFile>
#include <QSet>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QVarLengthArray>

#include <hunspell/hunspell.hxx>

#include <algorithm>

namespace {

QString folderFromEnv(const char *variable, const char *fallback)
{
    QString folder = qEnvironmentVariable(variable);
    if (folder.isEmpty())
        folder = QString::fromLatin1(fallback);
    if (!folder.endsWith(u'/'))
        folder += u'/';
    return folder;
}

// Whether the end of `word` meets a Hunspell condition: a sequence of single characters, "." for
// any character, and bracket groups "[abc]" or "[^abc]".
bool meetsCondition(QStringView word, QStringView condition)
{
    if (condition.isEmpty() || condition == u".")
        return true;
    // Split the condition into its character positions first: they are matched from the end.
    struct Position
    {
        QStringView set;
        bool negated = false;
        bool any = false;
    };
    QVarLengthArray<Position, 8> positions;
    for (qsizetype i = 0; i < condition.size();) {
        const QChar c = condition[i];
        if (c == u'[') {
            const qsizetype close = condition.indexOf(u']', i + 1);
            if (close < 0)
                return false; // a damaged condition matches nothing
            QStringView set = condition.sliced(i + 1, close - i - 1);
            const bool negated = set.startsWith(u'^');
            if (negated)
                set = set.sliced(1);
            positions.append({set, negated, false});
            i = close + 1;
        } else {
            positions.append({condition.sliced(i, 1), false, c == u'.'});
            ++i;
        }
    }
    if (positions.size() > word.size())
        return false;
    const qsizetype offset = word.size() - positions.size();
    for (qsizetype i = 0; i < positions.size(); ++i) {
        const Position &p = positions[i];
        if (p.any)
            continue;
        if (p.set.contains(word[offset + i]) == p.negated)
            return false;
    }
    return true;
}

bool isPhrase(QStringView s)
{
    return s.contains(u' ');
}

bool startsUpper(QStringView s)
{
    return !s.isEmpty() && s.front().isUpper();
}

// The kind of an English irregular form, as the regular suffix flag of en_US that makes the same
// form: S plural (or third person), D past, G -ing form, R comparative, T superlative. Empty when
// the form cannot be told.
QString englishFormFlag(const QString &list, QStringView form)
{
    if (list == u"noun")
        return QStringLiteral("S");
    if (list == u"verb") {
        if (form.endsWith(u"ing"))
            return QStringLiteral("G");
        // "was" is the one past form among the list's forms in -s.
        if (form.endsWith(u's') && form != u"was")
            return QStringLiteral("S");
        return QStringLiteral("D");
    }
    if (list == u"adj") {
        if (form.endsWith(u"st"))
            return QStringLiteral("T");
        if (form.endsWith(u"er") || form == u"worse")
            return QStringLiteral("R");
    }
    return {};
}

} // namespace

QString Inflection::defaultHunspellFolder()
{
    return folderFromEnv("REWORDIX_HUNSPELL_DIR", "/usr/share/hunspell/");
}

QString Inflection::defaultWordNetFolder()
{
    return folderFromEnv("REWORDIX_WORDNET_DIR", "/usr/share/wordnet/");
}

QStringList Inflection::dictionaryNames(const QString &code)
{
    static const QHash<QString, QStringList> names = {
        {"eng", {"en_US"}},       {"ger", {"de_DE"}},       {"fre", {"fr_FR", "fr"}},
        {"spa", {"es_ES"}},       {"ita", {"it_IT"}},       {"por", {"pt_PT", "pt_BR"}},
        {"rom", {"ro_RO"}},       {"bul", {"bg_BG"}},       {"swe", {"sv_SE"}},
        {"ara", {"ar", "ar_EG"}}, {"dut", {"nl_NL", "nl"}}, {"heb", {"he_IL", "he"}},
    };
    return names.value(code);
}

Inflection::Inflection(const QString &code, const QString &hunspellFolder,
                       const QString &wordNetFolder)
    : code(code), hunspellFolder(hunspellFolder), wordNetFolder(wordNetFolder)
{
    if (!this->hunspellFolder.isEmpty() && !this->hunspellFolder.endsWith(u'/'))
        this->hunspellFolder += u'/';
    if (!this->wordNetFolder.isEmpty() && !this->wordNetFolder.endsWith(u'/'))
        this->wordNetFolder += u'/';
}

Inflection::~Inflection() = default;

bool Inflection::load()
{
    if (loaded)
        return hunspell != nullptr;
    loaded = true;
    for (const QString &name : dictionaryNames(code)) {
        const QString aff = hunspellFolder + name + ".aff";
        const QString dic = hunspellFolder + name + ".dic";
        if (!QFile::exists(aff) || !QFile::exists(dic))
            continue;
        hunspell = std::make_unique<Hunspell>(QFile::encodeName(aff).constData(),
                                              QFile::encodeName(dic).constData());
        const QByteArray encoding = QByteArray::fromStdString(hunspell->get_dict_encoding());
        encoder = std::make_unique<QStringEncoder>(encoding.constData());
        decoder = std::make_unique<QStringDecoder>(encoding.constData());
        if (!encoder->isValid() || !decoder->isValid()) {
            qWarning("Hunspell dictionary %s: unknown encoding %s", qPrintable(name),
                     encoding.constData());
            hunspell.reset();
            continue;
        }
        loadAffix(aff);
        break;
    }
    if (hunspell && code == u"eng")
        loadWordNet(wordNetFolder);
    return hunspell != nullptr;
}

void Inflection::loadAffix(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return;
    const QByteArray bytes = file.readAll();
    // The dictionary's encoding was read by Hunspell from the same file's SET line.
    const QString text = (*decoder)(bytes);
    QSet<QString> headers;
    for (QStringView line : QStringView(text).tokenize(u'\n')) {
        if (!line.startsWith(u"SFX"))
            continue;
        const qsizetype comment = line.indexOf(u'#');
        if (comment >= 0)
            line.truncate(comment);
        QList<QStringView> fields;
        qsizetype start = -1;
        for (qsizetype i = 0; i <= line.size(); ++i) {
            const bool blank = i == line.size() || line[i].isSpace();
            if (!blank && start < 0)
                start = i;
            else if (blank && start >= 0) {
                fields.append(line.sliced(start, i - start));
                start = -1;
            }
        }
        if (fields.size() < 4 || fields[0] != u"SFX")
            continue;
        const QString flag = fields[1].toString();
        // The first line of a flag is its header "SFX flag cross count".
        if (!headers.contains(flag)) {
            headers.insert(flag);
            continue;
        }
        SuffixRule rule;
        rule.flag = flag;
        rule.strip = fields[2] == u"0" ? QString() : fields[2].toString();
        QStringView add = fields[3];
        const qsizetype slash = add.indexOf(u'/'); // continuation flags of a twofold suffix
        if (slash >= 0)
            add.truncate(slash);
        rule.add = add == u"0" ? QString() : add.toString();
        rule.condition = fields.size() > 4 ? fields[4].toString() : QStringLiteral(".");
        rulesByAdd[rule.add].append(rule);
        rulesByFlag[flag].append(std::move(rule));
    }
}

void Inflection::loadWordNet(const QString &folder)
{
    const std::pair<const char *, PartOfSpeech> indexes[] = {{"index.noun", Noun},
                                                             {"index.verb", Verb},
                                                             {"index.adj", Adjective},
                                                             {"index.adv", Adverb}};
    for (const auto &[name, pos] : indexes) {
        QFile file(folder + QString::fromLatin1(name));
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const QByteArray data = file.readAll();
        partsOfSpeech.reserve(partsOfSpeech.size() + data.size() / 40);
        // "lemma pos synset_cnt ...", "_" for blanks; the licence lines begin with blanks.
        for (qsizetype from = 0; from < data.size();) {
            qsizetype end = data.indexOf('\n', from);
            if (end < 0)
                end = data.size();
            const QByteArrayView line = QByteArrayView(data).sliced(from, end - from);
            from = end + 1;
            const qsizetype blank = line.indexOf(' ');
            if (blank <= 0)
                continue;
            QString lemma = QString::fromUtf8(line.first(blank));
            lemma.replace(u'_', u' ');
            partsOfSpeech[lemma] |= pos;
        }
    }

    for (const char *list : {"verb", "noun", "adj"}) {
        QFile file(folder + QString::fromLatin1(list) + ".exc");
        if (!file.open(QIODevice::ReadOnly))
            continue;
        Irregular &table = irregular[QString::fromLatin1(list)];
        while (!file.atEnd()) {
            const QString line = QString::fromUtf8(file.readLine()).trimmed();
            // "form base [base...]"; blanks inside a phrase are written "_".
            const QStringList fields = line.split(u' ', Qt::SkipEmptyParts);
            if (fields.size() < 2 || line.contains(u'_'))
                continue;
            for (qsizetype i = 1; i < fields.size(); ++i) {
                table.basesOf[fields[0]].append(fields[i]);
                table.formsOf[fields[i]].append(fields[0]);
            }
        }
    }
}

std::string Inflection::toDict(const QString &s) const
{
    return QByteArray((*encoder)(s)).toStdString();
}

QString Inflection::fromDict(const std::string &s) const
{
    return (*decoder)(QByteArrayView(s.data(), qsizetype(s.size())));
}

bool Inflection::isAvailable()
{
    return load();
}

bool Inflection::spell(const QString &word)
{
    return load() && hunspell->spell(toDict(word));
}

QList<Inflection::SuffixRule> Inflection::rulesOf(const QString &flag)
{
    load();
    return rulesByFlag.value(flag);
}

std::optional<QString> Inflection::applyRule(const QString &word, const SuffixRule &rule)
{
    if (word.size() <= rule.strip.size() || !word.endsWith(rule.strip) ||
        !meetsCondition(word, rule.condition))
        return std::nullopt;
    return word.first(word.size() - rule.strip.size()) + rule.add;
}

QList<Inflection::Base> Inflection::irregularBases(const QString &word)
{
    QList<Base> out;
    const QString lower = word.toLower();
    for (auto it = irregular.cbegin(); it != irregular.cend(); ++it) {
        const QString flag = englishFormFlag(it.key(), lower);
        if (flag.isEmpty())
            continue;
        for (const QString &base : it->basesOf.value(lower))
            out.append({base, flag, it.key(), {}});
    }
    return out;
}

QList<Inflection::Base> Inflection::bases(const QString &word)
{
    QList<Base> out;
    if (word.isEmpty() || isPhrase(word) || !load())
        return out;
    if (const auto cached = basesCache.constFind(word); cached != basesCache.cend())
        return *cached;
    auto add = [&out](Base b) {
        if (!out.contains(b))
            out.append(std::move(b));
    };

    const std::vector<std::string> analyses = hunspell->analyze(toDict(word));
    for (const std::string &a : analyses) {
        // " st:take fl:S"; a stem with no flag is the word's own dictionary entry.
        QString stem;
        QStringList flags;
        // The analysis is kept in a variable: the fields are views into it.
        const QString analysis = fromDict(a);
        for (QStringView field : QStringView(analysis).tokenize(u' ', Qt::SkipEmptyParts)) {
            if (field.startsWith(u"st:"))
                stem = field.sliced(3).toString();
            else if (field.startsWith(u"fl:"))
                flags.append(field.sliced(3).toString());
        }
        if (stem.isEmpty() || stem == word)
            continue;
        if (flags.isEmpty()) {
            // Dictionaries that describe the form instead of naming the flag (French "is:pl"):
            // the flags whose rule turns the stem into the word.
            for (qsizetype k = 0; k <= word.size(); ++k) {
                const auto it = rulesByAdd.constFind(word.right(k));
                if (it == rulesByAdd.cend())
                    continue;
                for (const SuffixRule &r : *it) {
                    const std::optional<QString> made = applyRule(stem, r);
                    if (made && made->compare(word, Qt::CaseInsensitive) == 0)
                        flags.append(r.flag);
                }
            }
        }
        for (const QString &flag : std::as_const(flags)) {
            // The rule line of the flag that made the word: a flag holds the lines of several
            // forms at times (a German adjective's -e, -en, -er ...). A flag without suffix rules
            // (a compounding or prefix flag) says nothing here.
            for (const SuffixRule &r : rulesByFlag.value(flag)) {
                const std::optional<QString> made = applyRule(stem, r);
                if (made && made->compare(word, Qt::CaseInsensitive) == 0)
                    add({stem, flag, {}, r});
            }
        }
    }
    for (Base &b : irregularBases(word))
        add(std::move(b));
    // The suffix rules read backwards, whatever flags the base carries: the dictionary does not
    // always trace a form to its base («products» it reads as «pro» + «ducts», «activities» it
    // lists as a word of its own).
    for (Base &b : reverseBases(word))
        add(std::move(b));

    // English: a form the base cannot take in any part of speech is no reading of the word
    // («news» is no plural of the adjective «new»).
    out.removeIf([this](const Base &b) { return !fitsForm(b.base, b.flag); });

    // German verb forms are not made: the suffix rules cannot tell «er gibt» from «ihr gebt», nor
    // make a participle's «ge-». A lower-case base in -en, -eln, -ern is a verb's infinitive.
    if (code == u"ger") {
        out.removeIf([](const Base &b) {
            return !startsUpper(b.base) && b.base.size() > 2 && b.base.endsWith(u'n') &&
                   QStringView(u"elr").contains(b.base.at(b.base.size() - 2));
        });
    }

    // A capitalised word that the dictionary also traces to capitalised stems is read as a noun
    // of a language that capitalises nouns («Rechte»: «Recht», not the adjective «recht»).
    if (startsUpper(word) &&
        std::any_of(out.cbegin(), out.cend(), [](const Base &b) { return startsUpper(b.base); }))
        out.removeIf([](const Base &b) { return !startsUpper(b.base); });

    // The nearest base first: an ending is shorter than a derivation («obligations»: «obligation»
    // before «obligate»; «Bedingungen»: «Bedingung» before «bedingen»).
    std::stable_sort(out.begin(), out.end(), [&word](const Base &a, const Base &b) {
        return distance(word, a.base) < distance(word, b.base);
    });
    if (basesCache.size() > cacheLimit)
        basesCache.clear();
    basesCache.insert(word, out);
    return out;
}

QList<Inflection::Base> Inflection::reverseBases(const QString &word)
{
    QList<Base> out;
    // Only where WordNet can check the part of speech, and only the inflectional endings: read
    // backwards, a derivation or another language's paradigm flag finds bases that are none.
    if (partsOfSpeech.isEmpty())
        return out;
    static const QStringList inflectional = {"S", "D", "G", "R", "T"};
    // A capitalised word's base is tried in lower case first: only a base the dictionary knows
    // in capitals alone keeps them (a German noun).
    QString lowered = word;
    if (startsUpper(word))
        lowered[0] = lowered[0].toLower();
    for (qsizetype k = 1; k < word.size(); ++k) {
        const auto it = rulesByAdd.constFind(word.right(k));
        if (it == rulesByAdd.cend())
            continue;
        for (const SuffixRule &r : *it) {
            if (!inflectional.contains(r.flag))
                continue;
            for (const QString *form : std::initializer_list<const QString *>{&lowered, &word}) {
                const QString base = form->first(form->size() - k) + r.strip;
                if (base.size() < 2 || !meetsCondition(base, r.condition) ||
                    !hunspell->spell(toDict(base)))
                    continue;
                out.append({base, r.flag, {}, r});
                break;
            }
        }
    }
    return out;
}

int Inflection::distance(const QString &word, const QString &base)
{
    qsizetype same = 0;
    while (same < word.size() && same < base.size() && word[same].toLower() == base[same].toLower())
        ++same;
    return int(word.size() - same);
}

bool Inflection::fitsForm(const QString &lemma, const QString &flag) const
{
    if (partsOfSpeech.isEmpty() || flag.size() != 1)
        return true;
    const auto it = partsOfSpeech.constFind(lemma.toLower());
    if (it == partsOfSpeech.cend())
        return true; // a word WordNet does not know is not judged
    switch (flag.front().unicode()) {
    case u'S':
        return *it & (Noun | Verb);
    case u'D':
    case u'G':
        return *it & Verb;
    case u'R':
    case u'T':
        return *it & (Adjective | Adverb);
    default:
        return true;
    }
}

bool Inflection::derivesFrom(const QString &form, const QString &synonym, const QString &flag)
{
    for (const std::string &a : hunspell->analyze(toDict(form))) {
        bool sameStem = false;
        bool anyFlag = false;
        bool sameFlag = false;
        const QString analysis = fromDict(a);
        for (QStringView field : QStringView(analysis).tokenize(u' ', Qt::SkipEmptyParts)) {
            if (field.startsWith(u"st:"))
                sameStem = field.sliced(3).compare(synonym, Qt::CaseInsensitive) == 0;
            else if (field.startsWith(u"fl:")) {
                anyFlag = true;
                sameFlag = sameFlag || field.sliced(3) == flag;
            }
        }
        // Dictionaries that describe forms instead of naming flags are taken at the stem.
        if (sameStem && (sameFlag || !anyFlag))
            return true;
    }
    return false;
}

std::optional<QString> Inflection::applyFlag(const QString &synonym, const Base &base)
{
    const SuffixRule &made = base.rule;
    const bool known = !made.flag.isEmpty();
    std::optional<QString> result;
    for (const SuffixRule &rule : rulesByFlag.value(base.flag)) {
        // The line that made the word, or a line for the same form of other words: one the base
        // does not meet while the synonym does not meet the word's line («copy» -> «copies»
        // beside «take» -> «takes»). Lines for other forms of the same flag are not used.
        if (known && !(rule.strip == made.strip && rule.add == made.add) &&
            (applyRule(base.base, rule) || applyRule(synonym, made)))
            continue;
        std::optional<QString> form = applyRule(synonym, rule);
        if (!form || !hunspell->spell(toDict(*form)))
            continue;
        // Outside English a word's endings are its own (a German noun's plural is -e, -er, -en
        // or an umlaut, and «Ablaufe» is a word, but not the plural of «Ablauf»): the dictionary
        // must read the form as the synonym with this flag.
        if (partsOfSpeech.isEmpty() && !derivesFrom(*form, synonym, base.flag))
            continue;
        if (result && *result != *form)
            return std::nullopt; // two readings of the rule disagree
        result = std::move(form);
    }
    return result;
}

std::optional<QString> Inflection::inflect(const QString &synonym, const Base &base)
{
    if (synonym.isEmpty() || !load())
        return std::nullopt;
    // The answer depends on the dictionary alone, so it is kept: the panel asks again on every
    // cursor move.
    const QString key = synonym + u'\x1f' + base.base + u'\x1f' + base.flag + u'\x1f' +
                        base.irregular + u'\x1f' + base.rule.strip + u'\x1f' + base.rule.add +
                        u'\x1f' + base.rule.condition;
    if (const auto cached = inflectCache.constFind(key); cached != inflectCache.cend())
        return *cached;
    if (inflectCache.size() > cacheLimit * 8)
        inflectCache.clear();
    const std::optional<QString> form = inflectUncached(synonym, base);
    inflectCache.insert(key, form);
    return form;
}

std::optional<QString> Inflection::inflectUncached(const QString &synonym, const Base &base)
{
    if (startsUpper(synonym) != startsUpper(base.base))
        return std::nullopt;
    if (!isPhrase(synonym))
        return fitsForm(synonym, base.flag) ? inflectWord(synonym, base) : std::nullopt;

    // A phrase only in English, where WordNet tells a noun phrase (the last word carries the
    // plural: «political parties») from a verb phrase (the verb comes first: «calls for»); a
    // phrase that can be either, or that WordNet does not know, is left out.
    if (partsOfSpeech.isEmpty())
        return std::nullopt;
    const quint8 pos = partsOfSpeech.value(synonym.toLower(), 0);
    const bool noun = pos & Noun;
    const bool verb = pos & Verb;
    bool first = false;
    if (base.flag == u"S" && noun != verb) {
        first = verb;
        // A noun phrase of more words has its head anywhere («law of nature»).
        if (noun && synonym.count(u' ') > 1)
            return std::nullopt;
    } else if ((base.flag == u"D" || base.flag == u"G") && verb)
        first = true;
    else
        return std::nullopt;
    const qsizetype blank = first ? synonym.indexOf(u' ') : synonym.lastIndexOf(u' ');
    const QString head = first ? synonym.first(blank) : synonym.sliced(blank + 1);
    const std::optional<QString> form = inflectWord(head, base);
    if (!form)
        return std::nullopt;
    return first ? *form + synonym.sliced(blank) : synonym.first(blank + 1) + *form;
}

std::optional<QString> Inflection::inflectWord(const QString &synonym, const Base &base)
{
    if (!irregular.isEmpty()) {
        // English: a synonym with irregular forms of this kind takes them, never the regular
        // ending, and only when they are one word («keep» -> «kept»; «go» -> «went», «gone»:
        // left out).
        const QString list =
            base.irregular.isEmpty()
                ? (base.flag == u"R" || base.flag == u"T"
                       ? QStringLiteral("adj")
                       : (base.flag == u"D" || base.flag == u"G" ? QStringLiteral("verb")
                                                                 : QString()))
                : base.irregular;
        QStringList forms;
        bool plural = false;
        const QStringList lists = list.isEmpty() ? QStringList{"noun", "verb"} : QStringList{list};
        for (const QString &l : lists) {
            for (const QString &form : irregular.value(l).formsOf.value(synonym.toLower())) {
                if (englishFormFlag(l, form) == base.flag && !forms.contains(form)) {
                    forms.append(form);
                    plural = l == u"noun";
                }
            }
        }
        if (forms.size() > 1)
            return std::nullopt;
        if (forms.size() == 1) {
            // A noun's irregular plural wins over the regular ending («men», not the verb's
            // «mans»); a verb with a regular form besides the irregular one («work»: «worked»,
            // «wrought») is not certain.
            // WordNet's own form is offered only when the dictionary knows it too («syllabi»
            // it does not).
            const std::optional<QString> regular = applyFlag(synonym, base);
            if ((plural || !regular || *regular == forms.front()) &&
                hunspell->spell(toDict(forms.front())))
                return forms.front();
            return std::nullopt;
        }
    }
    return applyFlag(synonym, base);
}

QStringList Inflection::inflectedSynonyms(const QString &word, const Lookup &synonymsOf, int max)
{
    QStringList out;
    if (max <= 0)
        return out;
    const QList<Base> found = bases(word);
    QSet<QString> seen{word.toLower()};
    for (const Base &b : found) {
        const QString key = b.base.toLower();
        seen.insert(key);
        for (const QString &synonym : synonymsOf(key)) {
            const QString s = synonym.trimmed();
            const std::optional<QString> form = inflect(s, b);
            if (!form)
                continue;
            const QString lower = form->toLower();
            if (seen.contains(lower))
                continue;
            seen.insert(lower);
            out.append(*form);
            if (out.size() >= max)
                return out;
        }
    }
    return out;
}
