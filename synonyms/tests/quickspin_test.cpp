#include "testsupport/testsupport.h"
#include "synonyms/quickspinmodel.h"
#include "synonyms/quickspintext.h"
#include "synonyms/usagelog.h"

#include <QFile>
#include <QRegularExpressionValidator>
#include <QTemporaryDir>
#include <QtTest>

using RowKind = QuickSpinModel::RowKind;
using Kind = SynonymStore::Kind;

namespace {

// "text:type:grade" per row, as the table shows and codes them.
QStringList render(const QuickSpinModel &model)
{
    QStringList out;
    for (const QuickSpinModel::Row &r : model.rows())
        out.append(r.text + ":" + QuickSpinModel::typeCode(r.kind) + ":" +
                   QuickSpinModel::gradeCode(r));
    return out;
}

QList<SynonymStore::Candidate> candidates(const QString &word,
                                          const QList<std::pair<QString, Kind>> &rest)
{
    QList<SynonymStore::Candidate> list{{"(blank)", "(blank)", Kind::Blank},
                                        {word.toLower(), word, Kind::Word}};
    for (const auto &[text, kind] : rest)
        list.append({text.toLower(), text, kind});
    return list;
}

} // namespace

class QuickSpinTest : public QObject
{
    Q_OBJECT

private slots:
    void groupText_data()
    {
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("group");
        QTest::addColumn<QString>("newLabel");
        QTest::addColumn<bool>("blank");

        QTest::newRow("word then two synonyms") << QStringList{"fast", "quick", "rapid"} << "fast"
                                                << "{fast|quick|rapid}"
                                                << "fast" << false;
        QTest::newRow("single entry is written bare") << QStringList{"quick"} << "fast"
                                                      << "quick"
                                                      << "quick" << false;
        QTest::newRow("tick order, not row order") << QStringList{"rapid", "fast"} << "fast"
                                                   << "{rapid|fast}"
                                                   << "rapid" << false;
        QTest::newRow("blank ticked last goes first")
            << QStringList{"fast", "quick", "rapid", "(blank)"} << "fast"
            << "{|fast|quick|rapid}"
            << "" << true;
        QTest::newRow("blank ticked in the middle")
            << QStringList{"fast", "(blank)", "quick"} << "fast"
            << "{|fast|quick}"
            << "" << true;
        QTest::newRow("blank ticked first") << QStringList{"(blank)", "fast"} << "fast"
                                            << "{|fast}"
                                            << "" << true;
        QTest::newRow("blank alone makes the label optional") << QStringList{"(blank)"} << "quick"
                                                              << "{|quick}"
                                                              << "" << true;
        QTest::newRow("blank alone after an earlier blank keeps the word")
            << QStringList{"(blank)"} << ""
            << "{|Fast}"
            << "" << true;
        QTest::newRow("capitalised entries pass through") << QStringList{"Fast", "Quick"} << "Fast"
                                                          << "{Fast|Quick}"
                                                          << "Fast" << false;
        QTest::newRow("nothing ticked") << QStringList{} << "fast"
                                        << ""
                                        << "" << false;
    }
    void groupText()
    {
        QFETCH(QStringList, entries);
        QFETCH(QString, label);
        QFETCH(QString, group);
        QFETCH(QString, newLabel);
        QFETCH(bool, blank);
        const quickspin::GroupChoice expected{group, newLabel, blank};
        QCOMPARE(quickspin::groupText(entries, label, "Fast"), expected);
    }

    void deselectedText_data()
    {
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("selected");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("newLabel");

        QTest::newRow("the group gives way to the label") << "fast"
                                                          << "{fast|quick|rapid}"
                                                          << "fast"
                                                          << "fast";
        QTest::newRow("after the blank: one alternative left, braces dropped") << ""
                                                                               << "{|fast}"
                                                                               << "fast"
                                                                               << "fast";
        QTest::newRow("after the blank: several alternatives stay a group") << ""
                                                                            << "{|fast|quick}"
                                                                            << "{fast|quick}"
                                                                            << "";
    }
    void deselectedText()
    {
        QFETCH(QString, label);
        QFETCH(QString, selected);
        QFETCH(QString, text);
        QFETCH(QString, newLabel);
        const quickspin::Restored expected{text, newLabel};
        QCOMPARE(quickspin::deselectedText(label, selected), expected);
    }

    // The blank alone and then nothing: the word comes back whole, not cut.
    void blankRoundTrip()
    {
        const quickspin::GroupChoice blank = quickspin::groupText({"(blank)"}, "fast", "fast");
        QCOMPARE(blank.group, QStringLiteral("{|fast}"));
        const quickspin::Restored back = quickspin::deselectedText(blank.label, blank.group);
        QCOMPARE(back.text, QStringLiteral("fast"));
    }

    void groupAround_data()
    {
        QTest::addColumn<QString>("paragraph");
        QTest::addColumn<int>("caret");
        QTest::addColumn<QString>("group"); // empty: none

        QTest::newRow("inside") << "a {quick|fast} b" << 5 << "{quick|fast}";
        QTest::newRow("just before the opening brace") << "a {quick|fast} b" << 2 << "{quick|fast}";
        QTest::newRow("just after the opening brace") << "a {quick|fast} b" << 3 << "{quick|fast}";
        QTest::newRow("just after the closing brace") << "a {quick|fast} b" << 14 << "{quick|fast}";
        QTest::newRow("group at paragraph end, caret at end") << "a {x|y}" << 7 << "{x|y}";
        QTest::newRow("plain word") << "a {quick|fast} bee" << 16 << "";
        QTest::newRow("innermost group") << "{a {b|c} d|e}" << 5 << "{b|c}";
        QTest::newRow("on a word of a nested group's outer level") << "{a {b|c} d|e}" << 1 << "";
        QTest::newRow("between two groups: the next one") << "{a|b}{c|d}" << 5 << "{c|d}";
        QTest::newRow("between a nested group's closer and the outer one: the nested group")
            << "{a|{b|c}} d" << 8 << "{b|c}";
        // Only an innermost group is found, so the caret after a group ending in a nested one
        // finds none, not the nested group it does not touch.
        QTest::newRow("after a group ending in a nested group: none") << "{a|{b|c}} d" << 9 << "";
        QTest::newRow("after a group ending in a nested group, at paragraph end: none")
            << "x{{b|c}}" << 8 << "";
        QTest::newRow("unbalanced opener") << "a {quick b" << 5 << "";
        QTest::newRow("empty paragraph") << "" << 0 << "";
    }
    void groupAround()
    {
        QFETCH(QString, paragraph);
        QFETCH(int, caret);
        QFETCH(QString, group);
        const auto span = quickspin::groupAround(paragraph, caret);
        const QString found =
            span ? paragraph.mid(span->first, span->last - span->first + 1) : QString();
        QCOMPARE(found, group);
    }

    void wordPosition_data()
    {
        QTest::addColumn<QString>("paragraph");
        QTest::addColumn<int>("caret");
        QTest::addColumn<int>("position");

        QTest::newRow("inside a word") << "big house." << 6 << 6;
        QTest::newRow("before the full stop") << "big house." << 9 << 8;
        QTest::newRow("paragraph end after the full stop") << "big house." << 10 << 8;
        QTest::newRow("before a comma") << "big, house" << 3 << 2;
        QTest::newRow("a full stop after a blank stays") << "big ." << 4 << 4;
        QTest::newRow("paragraph end") << "big" << 3 << 2;
        QTest::newRow("empty paragraph looks back") << "" << 0 << -1;
    }
    void wordPosition()
    {
        QFETCH(QString, paragraph);
        QFETCH(int, caret);
        QFETCH(int, position);
        QCOMPARE(int(quickspin::wordPosition(paragraph, caret)), position);
    }

    void wholeWordOccurrences_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("word");
        QTest::addColumn<QList<qsizetype>>("starts");

        QTest::newRow("word boundaries") << "fast breakfast fast. fasten fast"
                                         << "fast" << QList<qsizetype>{0, 15, 28};
        QTest::newRow("case-sensitive") << "Fast fast"
                                        << "fast" << QList<qsizetype>{5};
        QTest::newRow("bars and braces are literal") << "{fast|quick} fast|quick x"
                                                     << "fast|quick" << QList<qsizetype>{1, 13};
        QTest::newRow("a group as the word; glued to a word it is not whole")
            << "a {x|y} b{x|y} {x|y}"
            << "{x|y}" << QList<qsizetype>{2, 15};
        QTest::newRow("accented letters are letters") << "café cafés café"
                                                      << "café" << QList<qsizetype>{0, 11};
        QTest::newRow("empty word") << "abc"
                                    << "" << QList<qsizetype>{};
        // The word is looked for as it is: NUL followed by digits, a bare "0", a surrogate pair.
        QTest::newRow("NUL before a digit in the word")
            << QStringLiteral("a \u0000 b \u00000 c \u000000") << QStringLiteral("\u00000")
            << QList<qsizetype>{6};
        QTest::newRow("digit after NUL and U+FFFD")
            << QStringLiteral("\u00000\uFFFD0 00 0") << QStringLiteral("0")
            << QList<qsizetype>{1, 3, 8};
        QTest::newRow("letters beyond the BMP are letters")
            << QStringLiteral("\U0001D400x x \U0001D400 x") << QStringLiteral("x")
            << QList<qsizetype>{4, 9};
        QTest::newRow("no match inside a surrogate pair")
            << QStringLiteral("\U0001F600 ") + QChar(0xDE00) << QString(QChar(0xDE00))
            << QList<qsizetype>{3};
    }
    void wholeWordOccurrences()
    {
        QFETCH(QString, text);
        QFETCH(QString, word);
        QFETCH(QList<qsizetype>, starts);
        QCOMPARE(quickspin::wholeWordOccurrences(text, word), starts);
    }

    void addFieldPattern_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("accepted");

        QTest::newRow("English phrase with punctuation")
            << "eng"
            << "rock 'n' roll, {x|y} #1 @home!" << true;
        QTest::newRow("German umlauts") << "ger"
                                        << "Straße, Äpfel" << true;
        QTest::newRow("Romanian comma-below letters") << "rom"
                                                      << "știință" << true;
        QTest::newRow("Vietnamese-range letters are Latin") << "eng"
                                                            << "ấm" << true;
        QTest::newRow("Latin rejects Hebrew") << "eng"
                                              << "שלום" << false;
        QTest::newRow("Hebrew") << "heb"
                                << "שלום עולם" << true;
        QTest::newRow("Hebrew rejects Latin letters") << "heb"
                                                      << "shalom" << false;
        QTest::newRow("Hebrew code in capitals") << "HEB"
                                                 << "שלום" << true;
        QTest::newRow("Arabic") << "ara"
                                << "سريع" << true;
        QTest::newRow("Arabic rejects Hebrew") << "ara"
                                               << "שלום" << false;
        QTest::newRow("Bulgarian is Cyrillic") << "bul"
                                               << "бърз, скоро" << true;
        QTest::newRow("Bulgarian rejects Latin letters") << "bul"
                                                         << "fast" << false;
    }
    void addFieldPattern()
    {
        QFETCH(QString, code);
        QFETCH(QString, text);
        QFETCH(bool, accepted);
        QRegularExpressionValidator validator(quickspin::addFieldPattern(code));
        int pos = 0;
        QString input = text;
        QCOMPARE(validator.validate(input, pos) == QValidator::Acceptable, accepted);
    }

    // Every kind's look and codes, as the table shows them.
    void rowLook_data()
    {
        QTest::addColumn<RowKind>("kind");
        QTest::addColumn<QString>("category");
        QTest::addColumn<QString>("star");
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("grade");

        const QString gold = ":/img/award_star_gold_3.png";
        const QString silver = ":/img/award_star_silver_3.png";
        QTest::newRow("manual favourite")
            << RowKind::ManualFavourite << ":/img/user_edit.png" << gold << "5"
            << "";
        QTest::newRow("manual entry") << RowKind::Manual << ":/img/user_edit.png" << silver << "6"
                                      << "";
        QTest::newRow("user favourite")
            << RowKind::UserFavourite << ":/img/user_add.png" << gold << "1"
            << "3";
        QTest::newRow("best") << RowKind::Best << ":/img/medal_gold_3.png" << gold << "3"
                              << "2";
        QTest::newRow("better") << RowKind::Better << ":/img/medal_bronze_3.png" << gold << "3"
                                << "1";
        QTest::newRow("good") << RowKind::Good << ":/img/medal_silver_3.png" << gold << "3"
                              << "0";
        QTest::newRow("user synonym")
            << RowKind::UserSynonym << ":/img/user_add.png" << silver << "2"
            << "0";
        QTest::newRow("server synonym")
            << RowKind::Server << ":/img/medal_silver_3.png" << silver << "4"
            << "0";
        QTest::newRow("header row") << RowKind::Word << ""
                                    << ""
                                    << ""
                                    << "";
    }
    void rowLook()
    {
        QFETCH(RowKind, kind);
        QFETCH(QString, category);
        QFETCH(QString, star);
        QFETCH(QString, type);
        QFETCH(QString, grade);
        const QStringList expected{category, star, type, grade};
        const QuickSpinModel::Row row{"x", "x", kind, false};
        QCOMPARE((QStringList{QuickSpinModel::categoryIcon(kind), QuickSpinModel::starIcon(kind),
                              QuickSpinModel::typeCode(kind), QuickSpinModel::gradeCode(row)}),
                 expected);
    }

    void fillFromCandidates()
    {
        QuickSpinModel model;
        model.fill("Fast", candidates("Fast", {{"Speedy", Kind::UserFavourite},
                                               {"Quick", Kind::Best},
                                               {"Swift", Kind::Good},
                                               {"Zippy", Kind::UserSynonym},
                                               {"Rapid", Kind::Server}}));
        QCOMPARE(render(model), (QStringList{"(blank)::", "Fast::", "Speedy:1:3", "Quick:3:2",
                                             "Swift:3:0", "Zippy:2:0", "Rapid:4:0"}));
        QCOMPARE(model.curSyns(),
                 (QStringList{"(blank)", "fast", "speedy", "quick", "swift", "zippy", "rapid"}));
        QCOMPARE(model.groupStart(RowKind::Good), 4);
        QCOMPARE(model.groupStart(RowKind::Server), 6);

        model.fill("", candidates("", {}));
        QCOMPARE(model.rowCount(), 0);
    }

    // A spin group «{fast|Zoom|quick|zoom|Brisk}»: listed alternatives are found, others become
    // manual rows below the earlier manual rows, each once.
    void placeAlternatives()
    {
        QuickSpinModel model;
        model.fill("fast", candidates("fast", {{"quick", Kind::Server}}));
        QList<QuickSpinModel::Placement> placed;
        for (const QString &a : QStringList{"fast", " Zoom ", "quick", "zoom", "Brisk", ""})
            placed.append(model.placeAlternative(a));
        QList<int> rows;
        QList<bool> inserted;
        for (const auto &p : placed) {
            rows.append(p.row);
            inserted.append(p.inserted);
        }
        QCOMPARE(rows, (QList<int>{1, 2, 3, 2, 3, -1}));
        QCOMPARE(inserted, (QList<bool>{false, true, false, false, true, false}));
        QCOMPARE(render(model),
                 (QStringList{"(blank)::", "fast::", "Zoom:6:", "Brisk:6:", "quick:4:0"}));
        QCOMPARE(model.manualAL(), (QStringList{"Zoom", "Brisk"}));
    }

    // Added synonyms go to the top of the user synonyms, below manual favourites and every
    // favourite group.
    void addAndMove()
    {
        QuickSpinModel model;
        model.fill("fast", candidates("fast", {{"quick", Kind::Good},
                                               {"zippy", Kind::UserSynonym},
                                               {"rapid", Kind::Server},
                                               {"swift", Kind::Server}}));
        model.placeAlternative("zoom");
        QCOMPARE(model.moveRow(2, RowKind::ManualFavourite), 2); // zoom starred
        QCOMPARE(model.addUserSynonym("Speedy"), 4);
        QCOMPARE(render(model), (QStringList{"(blank)::", "fast::", "zoom:5:", "quick:3:0",
                                             "Speedy:2:2", "zippy:2:0", "rapid:4:0", "swift:4:0"}));
        // swift starred: top of the good favourites; quick unstarred: top of the server list.
        QCOMPARE(model.moveRow(7, RowKind::Good), 3);
        QCOMPARE(model.moveRow(4, RowKind::Server), 6);
        QCOMPARE(render(model), (QStringList{"(blank)::", "fast::", "zoom:5:", "swift:3:0",
                                             "Speedy:2:2", "zippy:2:0", "quick:4:0", "rapid:4:0"}));
        QCOMPARE(model.moveRow(1, RowKind::Good), -1); // header rows stay
        QVERIFY(!model.removeRow(0));
        QVERIFY(model.removeRow(5));
        QCOMPARE(model.curSyns(),
                 (QStringList{"(blank)", "fast", "zoom", "swift", "speedy", "quick", "rapid"}));
    }

    void favouriteMoves_data()
    {
        QTest::addColumn<RowKind>("from");
        QTest::addColumn<RowKind>("favourite");
        QTest::addColumn<RowKind>("learned");

        QTest::newRow("server") << RowKind::Server << RowKind::Good << RowKind::Server;
        QTest::newRow("user synonym")
            << RowKind::UserSynonym << RowKind::UserFavourite << RowKind::UserSynonym;
        QTest::newRow("manual") << RowKind::Manual << RowKind::ManualFavourite
                                << RowKind::UserSynonym;
        QTest::newRow("best") << RowKind::Best << RowKind::Server << RowKind::Best;
        QTest::newRow("better") << RowKind::Better << RowKind::Server << RowKind::Better;
        QTest::newRow("good") << RowKind::Good << RowKind::Server << RowKind::Good;
        QTest::newRow("user favourite")
            << RowKind::UserFavourite << RowKind::UserSynonym << RowKind::UserFavourite;
        QTest::newRow("manual favourite")
            << RowKind::ManualFavourite << RowKind::Manual << RowKind::UserFavourite;
    }
    void favouriteMoves()
    {
        QFETCH(RowKind, from);
        QFETCH(RowKind, favourite);
        QFETCH(RowKind, learned);
        QCOMPARE(QuickSpinModel::favouriteTarget(from), favourite);
        QCOMPARE(QuickSpinModel::learnTarget(from), learned);
    }

    void usageLogRecords()
    {
        QTemporaryDir dir;
        const QString folder = dir.path() + "/";
        QVERIFY(UsageLog::append(folder, "bul", UsageLog::Kind::Quick,
                                 UsageLog::quickRecord(" бърз ", "скоро", true)));
        QVERIFY(UsageLog::append(folder, "bul", UsageLog::Kind::Quick,
                                 UsageLog::quickRecord("бърз", "скоро", false)));
        QVERIFY(UsageLog::append(folder, "bul", UsageLog::Kind::Delete,
                                 UsageLog::record("Fast ", "quick")));
        QFile quick(folder + "bul_qlog.log");
        QVERIFY(quick.open(QIODevice::ReadOnly));
        QCOMPARE(quick.readAll(), QByteArray("\xEF\xBB\xBF") + "бърз|скоро|1\nбърз|скоро|0");
        QFile removed(folder + "bul_delete_log.log");
        QVERIFY(removed.open(QIODevice::ReadOnly));
        QCOMPARE(removed.readAll(), QByteArray("\xEF\xBB\xBF") + "Fast |quick");
        // The logs hold what the user typed: owner-only, like everything in the folder.
        QCOMPARE(quick.permissions() &
                     ~(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser),
                 QFile::Permissions());

        const QStringList names{UsageLog::fileName("eng", UsageLog::Kind::Quick),
                                UsageLog::fileName("eng", UsageLog::Kind::Add),
                                UsageLog::fileName("eng", UsageLog::Kind::Favourite),
                                UsageLog::fileName("eng", UsageLog::Kind::Unfavourite),
                                UsageLog::fileName("eng", UsageLog::Kind::Delete)};
        QCOMPARE(names, (QStringList{"eng_qlog.log", "eng_log.log", "eng_fav_log.log",
                                     "eng_unfav_log.log", "eng_delete_log.log"}));

        // A folder that does not exist: skipped, nothing created.
        QVERIFY(!UsageLog::append(folder + "missing/", "eng", UsageLog::Kind::Add, "a|b"));
    }
};

REWORDIX_TEST_GUILESS_MAIN(QuickSpinTest)
#include "quickspin_test.moc"
