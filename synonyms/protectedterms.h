#pragma once

#include <QHash>
#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>

class LocalDatabase;

// The user's protected terms: words and phrases auto-select must never wrap (brand names,
// product names, technical terms), kept in named categories in the tables protectedTermCat and
// protectedTerm of the local database.
//
// Every edit changes memory and database together; a database error is printed and otherwise
// swallowed, so memory and database may differ until the next start reads the tables again.
// Category names are compared exactly (case-sensitive); terms keep the case they were entered
// in, but protection ignores case: «ACME» and «acme» in one category are two entries and the
// same protected term.
class ProtectedTerms final
{
public:
    enum class EditResult
    {
        Done,
        Ignored, // empty name, unknown category: nothing changed
        Exists   // the category or the term is there already
    };

    ProtectedTerms() = default;
    Q_DISABLE_COPY_MOVE(ProtectedTerms)

    // Takes the database when none was read yet and reads it (loadDatabase()). Safe to call
    // before the database is open (nothing is read, a later call tries again) and any number of
    // times after a successful read. Returns whether the terms are read.
    bool myInit(LocalDatabase *database);
    // Reads every category and its terms once; false without an open connection or on a
    // database error (memory then holds nothing, so a retry cannot list a term twice).
    bool loadDatabase();
    bool isLoaded() const { return dbLoaded; }

    // True when `term` lower-cased is a protected term: the whole term, separators as written.
    bool isProtected(const QString &term) const { return lowerCounts.contains(term.toLower()); }

    // Every term of every category lower-cased, a term of two categories twice.
    const QStringList &curProtectedWordsAL() const { return protectedWords; }
    // The distinct lower-case terms, for a scan that runs on another thread.
    QSet<QString> protectedSet() const;

    QStringList categories() const { return categoryOrder; }
    bool hasCategory(const QString &category) const { return catAndTermsMap.contains(category); }
    // The terms of a category as entered, in database order.
    QStringList terms(const QString &category) const { return catAndTermsMap.value(category); }

    EditResult addCat(const QString &name);
    // Removes the category with all its terms.
    EditResult deleteCat(const QString &name);
    EditResult addTerm(const QString &category, const QString &term);
    EditResult deleteTerm(const QString &category, const QString &term);
    EditResult deleteAll(const QString &category);

private:
    void protect(const QString &term);
    void unprotect(const QString &term);
    QList<qint64> categoryIds(const QString &category) const;
    bool hasDatabase() const;

    LocalDatabase *db = nullptr;
    bool dbLoaded = false;
    QStringList categoryOrder;                  // database order, as the category box lists them
    QHash<QString, QStringList> catAndTermsMap; // category -> terms as entered
    QStringList protectedWords;                 // curProtectedWordsAL
    QHash<QString, int> lowerCounts;            // the same, counted, for constant-time look-ups
};
