// The logic under the views and formatting tools, without a window: the hyperlink markup, the
// colour rows and their stored map, the spun-text links and the tag tools on a document.

#include "testsupport/testsupport.h"
#include "app/colorscheme.h"
#include "app/htmllink.h"
#include "app/spunlinks.h"
#include "app/tagtools.h"

#include "spintax/generator.h"
#include "storage/settingsstore.h"

#include <QTest>
#include <QTextCursor>
#include <QTextDocument>

Q_DECLARE_METATYPE(HtmlLink)
Q_DECLARE_METATYPE(tagtools::Tag)

namespace {

HtmlLink makeLink(const QString &text, const QString &url, const QString &title,
                  const QString &cssClass, HtmlLink::Target target)
{
    HtmlLink link;
    link.text = text;
    link.url = url;
    link.title = title;
    link.cssClass = cssClass;
    link.target = target;
    return link;
}

QStringList fields(const HtmlLink &l)
{
    return {l.text, l.url, l.title, l.cssClass, QString::number(int(l.target))};
}

} // namespace

class ViewLogicTest final : public QObject
{
    Q_OBJECT

private slots:
    void parseLink_data()
    {
        QTest::addColumn<QString>("selection");
        QTest::addColumn<HtmlLink>("expected");
        using T = HtmlLink::Target;
        QTest::newRow("single quotes, title with a space")
            << "<a target='_blank' class='nav' title='My page' href='http://x.org/a?b=1'>Go</a>"
            << makeLink("Go", "http://x.org/a?b=1", "My page", "nav", T::NewWindow);
        QTest::newRow("double quotes, _self, surrounding white space")
            << "  <a target=\"_self\" href=\"http://y.org/\">Y</a>\n"
            << makeLink("Y", "http://y.org/", "", "", T::SameWindow);
        QTest::newRow("bare values, unknown target, upper-case names")
            << "<A TARGET=_top HREF=http://z.org/>z</A>"
            << makeLink("z", "http://z.org/", "", "", T::NoneSet);
        QTest::newRow("quoted > inside an attribute")
            << "<a title='a > b' href='u'>t</a>" << makeLink("t", "u", "a > b", "", T::NoneSet);
        QTest::newRow("link text holding markup and spin syntax")
            << "<a href='u'><b>{fast|quick}</b></a>"
            << makeLink("<b>{fast|quick}</b>", "u", "", "", T::NoneSet);
        QTest::newRow("plain text is the link text as it is")
            << " some words " << makeLink(" some words ", "http://", "", "", T::NoneSet);
        QTest::newRow("another tag starting with a is not a link")
            << "<abbr>x</a>" << makeLink("<abbr>x</a>", "http://", "", "", T::NoneSet);
        QTest::newRow("escaped quote comes back")
            << "<a title=\"say &quot;hi&quot;\" href='u'>t</a>"
            << makeLink("t", "u", "say \"hi\"", "", T::NoneSet);
    }

    void parseLink()
    {
        QFETCH(QString, selection);
        QFETCH(HtmlLink, expected);
        QCOMPARE(fields(HtmlLink::parse(selection)), fields(expected));
    }

    void linkMarkup_data()
    {
        QTest::addColumn<HtmlLink>("link");
        QTest::addColumn<QString>("html");
        using T = HtmlLink::Target;
        QTest::newRow("all attributes, in order")
            << makeLink("Go", "http://x.org/", "My page", "nav", T::NewWindow)
            << "<a target=\"_blank\" class=\"nav\" title=\"My page\" href=\"http://x.org/\">Go</a>";
        QTest::newRow("only href")
            << makeLink("text", "http://", "", "", T::NoneSet) << "<a href=\"http://\">text</a>";
        QTest::newRow("same window")
            << makeLink("t", "u", "", "", T::SameWindow) << "<a target=\"_self\" href=\"u\">t</a>";
        QTest::newRow("double quote in a value")
            << makeLink("t", "u", "say \"hi\"", "", T::NoneSet)
            << "<a title=\"say &quot;hi&quot;\" href=\"u\">t</a>";
    }

    void linkMarkup()
    {
        QFETCH(HtmlLink, link);
        QFETCH(QString, html);
        QCOMPARE(link.toHtml(), html);
        QCOMPARE(fields(HtmlLink::parse(html)), fields(link));
    }

    void colorRowsFromTheDefaults()
    {
        const ColorScheme scheme = ColorScheme::fromMap(storage::defaultApplicationColors());
        QStringList labels;
        QStringList colors;
        for (const ColorScheme::Row &row : scheme.rows) {
            labels << row.label;
            colors << row.color.name(QColor::HexArgb);
        }
        QCOMPARE(labels, QStringList({"Level 1", "Level 2", "Level 3", "Level 4", "Level 5",
                                      "No Synonym", "Replace", "First Term"}));
        QCOMPARE(colors, QStringList({"#ff0000ff", "#ff008000", "#ffff0000", "#ffff8000",
                                      "#ff9b800d", "#ff000000", "#ffa0a0a4", "#ff000000"}));
        QCOMPARE(scheme.levelCount(), 5);
        QCOMPARE(scheme.toMap(), storage::defaultApplicationColors());
    }

    void colorRowsFollowTheStoredMap()
    {
        // Six levels, one unreadable: the rows are entries minus three, the bad one black.
        QVariantMap stored = storage::defaultApplicationColors();
        stored.insert("level 6", storage::argbText(0xff112233));
        stored.insert("level 2", "not a number");
        const ColorScheme scheme = ColorScheme::fromMap(stored);
        QCOMPARE(scheme.levelCount(), 6);
        QCOMPARE(scheme.rows.at(1).color, QColor(Qt::black));
        QCOMPARE(scheme.rows.at(5).color, QColor(0x11, 0x22, 0x33));
        QCOMPARE(scheme.toMap().value("level 6").toString(), QStringLiteral("-15654349"));
    }

    void spunLinks()
    {
        // «fox,» starts a group output at 4; «brown fox» is one output with two words;
        // an empty output at 15 is keyed «15».
        const QString spun = QStringLiteral("The fox, brown fox ran 5");
        spintax::SpunMap map;
        map.insert("fox,4", {10, 20, 4, 8});
        map.insert("brown9", {30, 50, 9, 18});
        map.insert(" fox14", {60, 70, 14, 18}); // a nested output « fox» inside it
        map.insert("2323", {80, 85, 23, 23});   // empty output at 23, where «5» stands
        const SpunLinks links(map);
        auto at = [&](int pos) {
            const auto e = links.at(spun, pos);
            return e ? QList<int>(e->begin(), e->end()) : QList<int>();
        };
        QCOMPARE(at(4), QList<int>({10, 20, 4, 8}));    // first character of the key word
        QCOMPARE(at(7), QList<int>({10, 20, 4, 8}));    // its comma
        QCOMPARE(at(9), QList<int>({30, 50, 9, 18}));   // «brown» by its key
        QCOMPARE(at(12), QList<int>({30, 50, 9, 18}));  // any character of the key word
        QCOMPARE(at(16), QList<int>({60, 70, 14, 18})); // no key: the smallest range holding it
        QCOMPARE(at(14), QList<int>({60, 70, 14, 18}));
        QCOMPARE(at(0), QList<int>());  // fixed text
        QCOMPARE(at(23), QList<int>()); // «5» is not the empty output «23»
        QCOMPARE(at(-1), QList<int>());
        // A piece of the spun text (one paragraph) gives the same answers in whole-text
        // positions.
        const QStringView piece = QStringView(spun).mid(9);
        QCOMPARE(links.at(piece, 12, 9), links.at(spun, 12));
        QCOMPARE(links.at(piece, 16, 9), links.at(spun, 16));
        QVERIFY(!links.at(piece, 4, 9)); // before the piece
        QCOMPARE(at(int(spun.size())), QList<int>());
    }

    void spunLinksOfAGeneratedSpin()
    {
        spintax::Generator generator;
        generator.setSeed(7);
        const QString source = QStringLiteral("A {quick|fast} fox {jumps|leaps} high.");
        const auto spin = generator.anySpin(source, true, true, true);
        QVERIFY(spin);
        const SpunLinks links(generator.spunMap());
        const qsizetype second = spin->text.indexOf(QLatin1String("fox ")) + 4;
        const auto e = links.at(spin->text, second);
        QVERIFY(e);
        QCOMPARE(source.mid((*e)[0], (*e)[1] - (*e)[0]), QStringLiteral("{jumps|leaps}"));
        QCOMPARE(spin->text.mid((*e)[2], (*e)[3] - (*e)[2]), spin->text.mid(second, 5));
    }

    void tagTools_data()
    {
        QTest::addColumn<tagtools::Tag>("tag");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("anchor");
        QTest::addColumn<int>("position");
        QTest::addColumn<QString>("expected");
        using tagtools::Tag;
        QTest::newRow("bold: selection")
            << Tag::Bold << "say hello world" << 4 << 15 << "say <b>hello world</b>";
        QTest::newRow("underline: word under the cursor")
            << Tag::Underline << "say hello world" << 6 << 6 << "say <u>hello</u> world";
        QTest::newRow("italic: empty document") << Tag::Italic << "" << 0 << 0 << "<i></i>";
        QTest::newRow("font") << Tag::Font << "a b" << 0 << 1 << "<font>a</font> b";
        QTest::newRow("paragraph over two lines")
            << Tag::Paragraph << "one\ntwo" << 0 << 7 << "<p>one\ntwo</p>";
        QTest::newRow("unordered list")
            << Tag::UnorderedList << "item" << 0 << 4 << "<ul>\n     <li>item</li>\n</ul>";
        QTest::newRow("ordered list")
            << Tag::OrderedList << "item" << 0 << 4 << "<ol>\n     <li>item</li>\n</ol>";
        QTest::newRow("definition list") << Tag::DefinitionList << "term" << 2 << 2
                                         << "<dl>\n     <dt>term</dt>\n     <dd></dd>\n</dl>";
    }

    void tagTools()
    {
        QFETCH(tagtools::Tag, tag);
        QFETCH(QString, text);
        QFETCH(int, anchor);
        QFETCH(int, position);
        QFETCH(QString, expected);
        QTextDocument document(text);
        QTextCursor cursor(&document);
        cursor.setPosition(anchor);
        cursor.setPosition(position, QTextCursor::KeepAnchor);
        tagtools::wrapWordOrSelection(cursor, tag);
        QCOMPARE(document.toPlainText(), expected);
        const tagtools::Markup m = tagtools::markup(tag);
        QCOMPARE(cursor.position(), int(expected.indexOf(m.closing) + m.closing.size()));
        document.undo();
        QCOMPARE(document.toPlainText(), text); // one undo step
    }

    void breakReplacesTheSelection()
    {
        QTextDocument document(QStringLiteral("one two"));
        QTextCursor cursor(&document);
        cursor.setPosition(3);
        cursor.setPosition(4, QTextCursor::KeepAnchor);
        tagtools::insertBreak(cursor);
        QCOMPARE(document.toPlainText(), QStringLiteral("one<br>two"));
        QCOMPARE(cursor.position(), 7);
    }
};

REWORDIX_TEST_GUILESS_MAIN(ViewLogicTest)
#include "viewlogic_test.moc"
