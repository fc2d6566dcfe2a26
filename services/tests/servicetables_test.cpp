#include "testsupport/testsupport.h"
#include "tablerows.h"

#include "services/copyscapeaccount.h"
#include "services/wordpresssites.h"

#include "storage/localdatabase.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

// The site, category, keyword and Copyscape tables on a real SQLite database in a temporary
// working folder.
class ServiceTablesTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> home;
    std::unique_ptr<LocalDatabase> db;

    void exec(const QString &statement)
    {
        QSqlQuery q(db->database());
        QVERIFY2(q.exec(statement), qPrintable(statement));
    }
    QList<QStringList> rows(const QString &table) const { return tableRows(db->database(), table); }

private slots:
    void init()
    {
        home = std::make_unique<QTemporaryDir>();
        db = std::make_unique<LocalDatabase>();
        QVERIFY(db->connect(home->path() + "/"));
    }
    void cleanup()
    {
        db.reset();
        home.reset();
    }

    void loadWebsitesSkipsBlankRows()
    {
        exec("insert into website values(null,'a.example','ann','pw1')");
        exec("insert into website values(null,' ','','  ')");
        exec("insert into website values(null,'','bob','')");
        WordpressSites sites;
        sites.setDatabase(db.get());
        sites.loadWebsites();
        QCOMPARE(sites.websiteALAL(),
                 (QList<Website>{{"a.example", "ann", "pw1"}, {"", "bob", ""}}));
    }

    void updateWebsiteSavesExactlyTheNonBlankRows()
    {
        exec("insert into website values(null,'old.example','x','y')");
        WordpressSites sites;
        sites.setDatabase(db.get());
        QVERIFY(
            sites.updateWebsite({{"a.example", "ann", "pw"}, {"", " ", ""}, {"", "", "only-pw"}}));
        QCOMPARE(rows("website"),
                 (QList<QStringList>{{"a.example", "ann", "pw"}, {"", "", "only-pw"}}));
    }

    // A row the database refuses rolls the whole replacement back: the old list survives.
    void failedSiteSaveKeepsTheOldRows()
    {
        exec("drop table website");
        exec("create table website(id INTEGER PRIMARY KEY, website varchar(50) "
             "check(length(website) <= 50), username varchar(100), password varchar(100))");
        exec("insert into website values(null,'kept.example','k','p')");
        WordpressSites sites;
        sites.setDatabase(db.get());
        QVERIFY(!sites.updateWebsite({{"a.example", "a", "b"}, {QString(60, u'x'), "c", "d"}}));
        QCOMPARE(rows("website"), (QList<QStringList>{{"kept.example", "k", "p"}}));
    }

    void categoriesAndKeywords()
    {
        exec("insert into cat values(null,'News')");
        exec("insert into keyword values(null,'alpha')");
        WordpressSites sites;
        sites.setDatabase(db.get());
        sites.loadCategoriesOnce();
        sites.loadKeywordsOnce();
        QCOMPARE(sites.catAL(), QStringList{"News"});
        QCOMPARE(sites.keywordAL(), QStringList{"alpha"});

        QVERIFY(sites.updateCat({"Tips", " ", "News"}));
        QVERIFY(sites.updateKeyword({"beta", ""}));
        QCOMPARE(rows("cat"), (QList<QStringList>{{"Tips"}, {"News"}}));
        QCOMPARE(rows("keyword"), (QList<QStringList>{{"beta"}}));
        // Loaded once: the remembered lists are the saved ones, not read again.
        exec("insert into cat values(null,'Other')");
        sites.loadCategoriesOnce();
        QCOMPARE(sites.catAL(), (QStringList{"Tips", " ", "News"}));
    }

    void canAddWebsite_data()
    {
        QTest::addColumn<Website>("site");
        QTest::addColumn<bool>("allowed");
        QTest::newRow("same in all three") << Website{"a.example", "ann", "pw"} << false;
        QTest::newRow("same ignoring case") << Website{"A.Example", "ANN", "PW"} << false;
        QTest::newRow("other password") << Website{"a.example", "ann", "pw2"} << true;
        QTest::newRow("other user") << Website{"a.example", "bob", "pw"} << true;
    }
    void canAddWebsite()
    {
        QFETCH(Website, site);
        QFETCH(bool, allowed);
        QCOMPARE(WordpressSites::canAddWebsite({{"a.example", "ann", "pw"}}, site), allowed);
    }

    void copyscapeAccount()
    {
        QCOMPARE(CopyscapeAccount::load(db->database()).has_value(), false);
        QVERIFY(CopyscapeAccount::save(db->database(), {"jo", "key1"}));
        QVERIFY(CopyscapeAccount::save(db->database(), {"jo2", "key2"}));
        QCOMPARE(rows("copyScape"), (QList<QStringList>{{"jo2", "key2"}}));
        const std::optional<CopyscapeAccount> account = CopyscapeAccount::load(db->database());
        QVERIFY(account);
        QCOMPARE(account->username, QStringLiteral("jo2"));
        QCOMPARE(account->apiKey, QStringLiteral("key2"));
    }
};

REWORDIX_TEST_GUILESS_MAIN(ServiceTablesTest)
#include "servicetables_test.moc"
