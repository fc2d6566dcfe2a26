// Protected terms against a real database file: what an edit writes is what the next start reads.

#include "synonyms/protectedterms.h"

#include "storage/localdatabase.h"

#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

using Result = ProtectedTerms::EditResult;

class ProtectedTermsTest final : public QObject
{
    Q_OBJECT

private:
    // The rows of protectedTerm as "category:term", in id order.
    static QStringList rows(LocalDatabase &db)
    {
        QSqlQuery q(db.database());
        q.exec("select c.category, t.term from protectedTerm t left join protectedTermCat c "
               "on c.cat_id = t.cat_id order by t.term_id");
        QStringList list;
        while (q.next())
            list << q.value(0).toString() + ':' + q.value(1).toString();
        return list;
    }

private slots:
    void editsReachTheDatabase()
    {
        QTemporaryDir dir;
        LocalDatabase db;
        QVERIFY(db.connect(dir.path() + "/"));
        ProtectedTerms terms;
        QVERIFY(terms.myInit(&db));

        QCOMPARE(terms.addCat("Brands"), Result::Done);
        QCOMPARE(terms.addCat("Brands"), Result::Exists);
        QCOMPARE(terms.addCat("  "), Result::Ignored);
        QCOMPARE(terms.addCat("Tech"), Result::Done);
        QCOMPARE(terms.addTerm("Brands", "ACME Widget"), Result::Done);
        QCOMPARE(terms.addTerm("Brands", "ACME Widget"), Result::Exists);
        QCOMPARE(terms.addTerm("Brands", "acme widget"), Result::Done); // other case: a new entry
        QCOMPARE(terms.addTerm("Tech", "Qt"), Result::Done);
        QCOMPARE(terms.addTerm("Tech", "acme WIDGET"), Result::Done);
        QCOMPARE(rows(db), (QStringList{"Brands:ACME Widget", "Brands:acme widget", "Tech:Qt",
                                        "Tech:acme WIDGET"}));

        // A term in two categories stays protected while one of them still holds it.
        QCOMPARE(terms.deleteAll("Brands"), Result::Done);
        QVERIFY(terms.isProtected("Acme Widget"));
        QVERIFY(!terms.isProtected("ACME  Widget"));
        QCOMPARE(terms.deleteTerm("Tech", "acme WIDGET"), Result::Done);
        QVERIFY(!terms.isProtected("acme widget"));
        QCOMPARE(terms.deleteTerm("Tech", "acme WIDGET"), Result::Ignored);
        QCOMPARE(terms.curProtectedWordsAL(), QStringList{"qt"});
        QCOMPARE(rows(db), QStringList{"Tech:Qt"});

        QCOMPARE(terms.deleteCat("Tech"), Result::Done);
        QVERIFY(!terms.isProtected("qt"));
        QCOMPARE(rows(db), QStringList());
        QCOMPARE(terms.categories(), QStringList{"Brands"});
        QCOMPARE(terms.addTerm("Brands", "Rewordix"), Result::Done);

        // The next start reads what the edits left.
        ProtectedTerms again;
        QVERIFY(again.myInit(&db));
        QCOMPARE(again.categories(), QStringList{"Brands"});
        QCOMPARE(again.terms("Brands"), QStringList{"Rewordix"});
        QVERIFY(again.isProtected("REWORDIX"));
    }

    void readWhenTheDatabaseOpensLater()
    {
        QTemporaryDir dir;
        LocalDatabase db;
        ProtectedTerms terms;
        QVERIFY(!terms.myInit(&db)); // not open yet: nothing read, tried again later
        QVERIFY(db.connect(dir.path() + "/"));
        QSqlQuery q(db.database());
        QVERIFY(q.exec("insert into protectedTermCat values(null,'A')"));
        QVERIFY(q.exec("insert into protectedTermCat values(null,'B')"));
        QVERIFY(q.exec("insert into protectedTerm values(null,'Same',1)"));
        QVERIFY(q.exec("insert into protectedTerm values(null,'same',2)"));
        QVERIFY(terms.myInit(nullptr));
        QCOMPARE(terms.categories(), (QStringList{"A", "B"}));
        QCOMPARE(terms.curProtectedWordsAL(), (QStringList{"same", "same"}));
        QVERIFY(terms.myInit(nullptr)); // read once: a second call lists nothing twice
        QCOMPARE(terms.curProtectedWordsAL().size(), 2);
    }
};

QTEST_GUILESS_MAIN(ProtectedTermsTest)
#include "protectedterms_test.moc"
