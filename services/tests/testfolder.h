#pragma once

// A private working folder for one test: files written and read back by name.

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestFolder final
{
public:
    QString path() const { return dir.path() + QStringLiteral("/"); }

    void write(const QString &name, const QByteArray &content) const
    {
        QFile f(path() + name);
        QVERIFY2(f.open(QIODevice::WriteOnly), qPrintable(name));
        QCOMPARE(f.write(content), content.size());
    }
    // The file's bytes, or "(absent)" when it cannot be read.
    QByteArray read(const QString &name) const
    {
        QFile f(path() + name);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArrayLiteral("(absent)");
    }
    bool exists(const QString &name) const { return QFile::exists(path() + name); }

private:
    QTemporaryDir dir;
};
