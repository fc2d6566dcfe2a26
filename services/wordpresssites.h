#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

class LocalDatabase;

// One WordPress site as the site editor holds it: address, log-in name and password.
struct Website
{
    QString url;
    QString username;
    QString password;

    // All three fields empty after trimming: such entries are neither shown for posting nor saved.
    bool isBlank() const;
    bool operator==(const Website &) const = default;
};

// The user's WordPress sites and the categories and keywords remembered for posting, with the
// tables `website`, `cat` and `keyword` of the local database that keep them. Lives on the GUI
// thread, like the database connection.
class WordpressSites final
{
public:
    WordpressSites() = default;
    Q_DISABLE_COPY_MOVE(WordpressSites)

    // The database the lists are read from and written to; without one, loading reads nothing
    // and saving fails.
    void setDatabase(LocalDatabase *database) { db = database; }

    // Start-up: the sites of "select * from website" (columns website, username, password);
    // rows whose three fields are blank are skipped. Database errors leave the rows read so far.
    void loadWebsites();
    // The remembered categories and keywords, read once, on the first use of the posting dialog.
    void loadCategoriesOnce();
    void loadKeywordsOnce();

    const QList<Website> &websiteALAL() const { return websites; }
    void setWebsiteALAL(const QList<Website> &list) { websites = list; }
    QStringList catAL() const { return categories.value_or(QStringList()); }
    QStringList keywordAL() const { return keywords.value_or(QStringList()); }

    // False when `list` already holds an entry equal to `site` in all three fields, compared
    // ignoring case.
    static bool canAddWebsite(const QList<Website> &list, const Website &site);
    bool canAddWebsite(const Website &site) const { return canAddWebsite(websites, site); }

    // Replace a table's rows: `website` with every row that has a non-blank field, `cat` and
    // `keyword` with every non-blank entry, in order. One transaction each, so a row that cannot
    // be written leaves the old rows in place; false then. updateCat and updateKeyword also make
    // the list the remembered one.
    bool updateWebsite(const QList<Website> &rows);
    bool updateCat(const QStringList &list);
    bool updateKeyword(const QStringList &list);

private:
    static QStringList loadColumn(LocalDatabase *db, const QString &table);
    static bool replaceColumn(LocalDatabase *db, const QString &table, const QStringList &list);

    LocalDatabase *db = nullptr;
    QList<Website> websites;
    std::optional<QStringList> categories; // absent until loaded
    std::optional<QStringList> keywords;
};
