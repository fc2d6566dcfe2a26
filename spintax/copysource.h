#pragma once

#include <QList>
#include <QString>
#include <QStringView>

#include <optional>

namespace spintax {

// Takes the text of a copy handed over in pieces, in order.
class CopyReceiver
{
public:
    virtual ~CopyReceiver() = default;
    // A new copy begins: what was received of an earlier one is dropped.
    virtual void restart() = 0;
    virtual void append(QStringView piece) = 0;
};

// Where a bulk export takes its copies from. The export asks for copies one at a time and
// keeps them distinct by their choice signature; the program's source is the spin generator,
// benchmarks and tests may hand in other texts.
class CopySource
{
public:
    struct Copy
    {
        QString text;
        QList<int> signature;
    };

    virtual ~CopySource() = default;

    // The text cannot produce copies (unbalanced braces): the export writes nothing.
    virtual bool balanced() const = 0;
    // Starts a batch: called before the plain copies and again before the HTML copies.
    virtual void reset() = 0;
    virtual std::optional<Copy> next() = 0;
    // The next copy as next() gives it, its text handed to `receiver` in pieces and its signature
    // returned, for sources whose copies are long enough to be made part by part. The receiver
    // is not restarted here.
    virtual std::optional<QList<int>> nextInto(CopyReceiver &receiver)
    {
        std::optional<Copy> copy = next();
        if (!copy)
            return std::nullopt;
        receiver.append(copy->text);
        return std::move(copy->signature);
    }
    // How many distinct signatures next() can produce (saturating).
    virtual quint64 reachable() const = 0;
    // How many draws the export may spend looking for one unused signature before it takes
    // copies as they come. Sources should make this large enough that a remaining
    // combination is practically always found.
    virtual quint64 attemptLimit() const { return 1'000'000; }
};

} // namespace spintax
