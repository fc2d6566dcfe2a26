// Auto-select, identify, protected terms and the favourites exchange in a started window, on a
// working folder prepared with a synonym list and database rows.

#include "testsupport/testsupport.h"
#include "windowparts.h"

#include "storage/localdatabase.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QTextBlock>

#include "selection/widgets/qjsautoselect.h"
#include "selection/widgets/qjsprotectedterms.h"

#include <memory>

class AutoSelectWindowTest final : public QObject
{
    Q_OBJECT

private:
    QString workFolder() const { return qEnvironmentVariable("REWORDIX_HOME") + "/"; }

    static std::unique_ptr<Lexora3> startWindow()
    {
        auto w = std::make_unique<Lexora3>(nullptr, 1.191, false);
        w->show();
        w->show2();
        return w;
    }

    // The main editor's text with its underlined stretches in [brackets].
    static QString marks(const Lexora3 &w)
    {
        QString text;
        const QTextDocument *document = parts::textEdit(w)->document();
        for (QTextBlock b = document->begin(); b.isValid(); b = b.next()) {
            for (auto it = b.begin(); !it.atEnd(); ++it) {
                const QTextFragment f = it.fragment();
                text += f.charFormat().fontUnderline() ? '[' + f.text() + ']' : f.text();
            }
        }
        return text;
    }

private slots:
    void init()
    {
        QSettings().clear();
        QDir(workFolder()).removeRecursively();
        QDir().mkpath(workFolder());
        qputenv("REWORDIX_THESAURUS_DIR", QByteArray("/nonexistent/"));
        QFile list(workFolder() + "eng_syn.dat");
        QVERIFY(list.open(QIODevice::WriteOnly));
        list.write("synonym version 1\n"
                   "new york|nyc|big apple\n"
                   "love|adore|like\n"
                   "acme widget|gadget|device\n");
        list.close();
        LocalDatabase db;
        QVERIFY(db.connect(workFolder()));
        QSqlQuery q(db.database());
        QVERIFY(q.exec("insert into protectedTermCat values(null,'Brands')"));
        QVERIFY(q.exec("insert into protectedTerm values(null,'ACME Widget',1)"));
        QVERIFY(q.exec("insert into eng_fav values(null,'love','cherish',3)"));
        db.shutdown();
    }

    void autoSelectKeepsProtectedTermsFromStartUp()
    {
        auto w = startWindow();
        parts::textEdit(*w)->setPlainText("I love New York and acme widget.");
        parts::action(*w, AppActions::AutoSelect)->trigger();
        auto *dialog = parts::child<QJSAutoSelect>(*w, "autoSelectQD");
        QVERIFY(dialog->isVisible());
        dialog->findChild<QLineEdit *>()->setText("1");
        QSignalSpy done(dialog, &QJSAutoSelect::autoSelected);
        dialog->autoSelect();
        QVERIFY2(done.wait(20000), "auto-select did not finish");
        QCOMPARE(parts::textEdit(*w)->toPlainText(),
                 QStringLiteral("I {love|cherish} {New York|Nyc} and acme widget."));
        QVERIFY(w->guardFlags().idle());

        parts::action(*w, AppActions::ProtectedTerm)->trigger();
        auto *terms = parts::child<QJSProtectedTerms>(*w, "protectedTermsQD");
        QVERIFY(terms->isVisible());
        QCOMPARE(terms->findChild<QComboBox *>()->currentText(), QStringLiteral("Brands"));
        terms->hide();
    }

    void identifyUnderlinesAsTheBoxSays()
    {
        auto w = startWindow();
        parts::textEdit(*w)->setPlainText("I love New York.");
        auto *box = parts::child<QComboBox>(*w, "synonymsBox");
        auto *identify = parts::child<QPushButton>(*w, "identifyPB");
        QVERIFY(identify->isEnabled());
        identify->click();
        QCOMPARE(marks(*w), QStringLiteral("I [love] [New York]."));
        box->setCurrentIndex(1);
        identify->click();
        QCOMPARE(marks(*w), QStringLiteral("I love [New York]."));
        box->setCurrentIndex(2); // "Remove Underline" at once
        QCOMPARE(marks(*w), QStringLiteral("I love New York."));
        QVERIFY(w->guardFlags().idle());
    }

    void replaceMyFavorites()
    {
        auto w = startWindow();
        parts::textEdit(*w)->setPlainText("love, Love, lovely love");
        parts::action(*w, AppActions::ReplaceUserFavorites)->trigger();
        QCOMPARE(parts::textEdit(*w)->toPlainText(),
                 QStringLiteral("{love|cherish}, Love, lovely {love|cherish}"));
        parts::textEdit(*w)->undo();
        QCOMPARE(parts::textEdit(*w)->toPlainText(), QStringLiteral("love, Love, lovely love"));
    }
};

REWORDIX_TEST_MAIN(AutoSelectWindowTest)
#include "autoselect_window_test.moc"
