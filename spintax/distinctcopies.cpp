#include "distinctcopies.h"

#include "copysource.h"

#include <QHash>

namespace spintax {

DistinctCopies::DistinctCopies(CopySource &source)
    : source(source), reachable(source.reachable()),
      attemptLimit(qMax<quint64>(1, source.attemptLimit()))
{
}

void DistinctCopies::reset()
{
    source.reset();
}

DistinctCopies::Key DistinctCopies::keyOf(const QList<int> &signature)
{
    const void *data = signature.constData();
    const size_t len = size_t(signature.size()) * sizeof(int);
    return {qHashBits(data, len, 0x9e3779b9u), qHashBits(data, len, 0x85ebca6bu) ^ len};
}

template <typename Draw> bool DistinctCopies::take(Draw &&draw, const KeepGoing &keepGoing)
{
    std::optional<QList<int>> signature = draw();
    if (!signature)
        return false;
    if (saturated || quint64(used.size()) >= reachable)
        return true;

    Key key = keyOf(*signature);
    quint64 attempts = 1;
    while (used.count(key)) {
        if (attempts >= attemptLimit) {
            saturated = true;
            return true;
        }
        signature = draw();
        if (!signature)
            return false;
        key = keyOf(*signature);
        if (++attempts % 4096 == 0 && keepGoing && !keepGoing())
            return false;
    }
    used.insert(key);
    return true;
}

std::optional<QString> DistinctCopies::next(const KeepGoing &keepGoing)
{
    QString text;
    const bool taken = take(
        [this, &text]() -> std::optional<QList<int>> {
            std::optional<CopySource::Copy> copy = source.next();
            if (!copy)
                return std::nullopt;
            text = std::move(copy->text);
            return std::move(copy->signature);
        },
        keepGoing);
    if (!taken)
        return std::nullopt;
    return text;
}

bool DistinctCopies::nextInto(CopyReceiver &receiver, const KeepGoing &keepGoing)
{
    return take(
        [this, &receiver] {
            receiver.restart();
            return source.nextInto(receiver);
        },
        keepGoing);
}

} // namespace spintax
