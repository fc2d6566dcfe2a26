#include "testsupport/testsupport.h"
#include "storage/localdatabase.h"
#include "storage/transactionguard.h"

#include <QRegularExpression>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QStringList synonymsOf(const QSqlDatabase &db, const QString &word)
{
    QStringList syns;
    QSqlQuery q(db);
    q.prepare(QStringLiteral("select syn from eng_fav where word = ? order by word_id"));
    q.addBindValue(word);
    q.exec();
    while (q.next())
        syns << q.value(0).toString();
    return syns;
}

// Replaces the favourites of `word`: delete the old list, insert the new one. `failAt` makes
// the insert of that entry fail (a statement on a missing column), as a full disk or a lock would.
bool replaceList(const QSqlDatabase &db, const QString &word, const QStringList &syns,
                 qsizetype failAt)
{
    QSqlQuery del(db);
    del.prepare(QStringLiteral("delete from eng_fav where word = ?"));
    del.addBindValue(word);
    if (!del.exec())
        return false;
    for (qsizetype i = 0; i < syns.size(); ++i) {
        QSqlQuery ins(db);
        ins.prepare(i == failAt
                        ? QStringLiteral("insert into eng_fav values(null, ?, ?, 0, 'extra')")
                        : QStringLiteral("insert into eng_fav values(null, ?, ?, 0)"));
        ins.addBindValue(word);
        ins.addBindValue(syns.at(i));
        if (!ins.exec())
            return false;
    }
    return true;
}

} // namespace

class TransactionGuardTest final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void replaceTogether_data();
    void replaceTogether();
    void guardLeftWithoutCommit();
    void nestedGuardStaysInactive();
    void closedConnection();

private:
    QTemporaryDir tmp;
    LocalDatabase db;
    const QStringList oldList{QStringLiteral("fast"), QStringLiteral("rapid")};
};

void TransactionGuardTest::initTestCase()
{
    QVERIFY(tmp.isValid());
    QVERIFY(db.connect(tmp.path()));
}

void TransactionGuardTest::init()
{
    QSqlQuery q(db.database());
    QVERIFY(q.exec(QStringLiteral("delete from eng_fav")));
    QVERIFY(replaceList(db.database(), QStringLiteral("quick"), oldList, -1));
}

void TransactionGuardTest::replaceTogether_data()
{
    QTest::addColumn<QStringList>("newList");
    QTest::addColumn<qsizetype>("failAt");
    QTest::addColumn<bool>("committed");

    const QStringList three{QStringLiteral("speedy"), QStringLiteral("swift"),
                            QStringLiteral("brisk")};
    QTest::newRow("all statements succeed") << three << qsizetype(-1) << true;
    QTest::newRow("first insert fails: old list kept") << three << qsizetype(0) << false;
    QTest::newRow("last insert fails: old list kept") << three << qsizetype(2) << false;
    QTest::newRow("empty new list") << QStringList() << qsizetype(-1) << true;
}

void TransactionGuardTest::replaceTogether()
{
    QFETCH(QStringList, newList);
    QFETCH(qsizetype, failAt);
    QFETCH(bool, committed);
    const QSqlDatabase con = db.database();

    const bool ok = storage::runInTransaction(
        con, [&] { return replaceList(con, QStringLiteral("quick"), newList, failAt); });

    QCOMPARE(ok, committed);
    QCOMPARE(synonymsOf(con, QStringLiteral("quick")), committed ? newList : oldList);
}

void TransactionGuardTest::guardLeftWithoutCommit()
{
    const QSqlDatabase con = db.database();
    {
        storage::TransactionGuard tx(con);
        QVERIFY(tx.isActive());
        QVERIFY(replaceList(con, QStringLiteral("quick"), {QStringLiteral("swift")}, -1));
        QCOMPARE(synonymsOf(con, QStringLiteral("quick")), QStringList{"swift"});
        // An early return between the statements leaves here.
    }
    QCOMPARE(synonymsOf(con, QStringLiteral("quick")), oldList);

    storage::TransactionGuard tx(con);
    QVERIFY(replaceList(con, QStringLiteral("quick"), {QStringLiteral("swift")}, -1));
    QVERIFY(tx.commit());
    QVERIFY(!tx.isActive());
    QVERIFY(!tx.commit()); // nothing left to commit
    QCOMPARE(synonymsOf(con, QStringLiteral("quick")), QStringList{"swift"});
}

void TransactionGuardTest::nestedGuardStaysInactive()
{
    const QSqlDatabase con = db.database();
    storage::TransactionGuard outer(con);
    QVERIFY(outer.isActive());
    {
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("Cannot begin a transaction"));
        storage::TransactionGuard inner(con);
        QVERIFY(!inner.isActive());
        QVERIFY(replaceList(con, QStringLiteral("quick"), {QStringLiteral("swift")}, -1));
    } // the inner guard must not roll back the outer transaction
    QVERIFY(outer.commit());
    QCOMPARE(synonymsOf(con, QStringLiteral("quick")), QStringList{"swift"});
}

void TransactionGuardTest::closedConnection()
{
    bool ran = false;
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("Cannot begin a transaction"));
    QVERIFY(!storage::runInTransaction(QSqlDatabase(), [&ran] { return ran = true; }));
    QVERIFY(!ran);
}

REWORDIX_TEST_GUILESS_MAIN(TransactionGuardTest)
#include "transactionguard_test.moc"
