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

std::optional<QString> DistinctCopies::next(const KeepGoing &keepGoing)
{
    std::optional<CopySource::Copy> copy = source.next();
    if (!copy)
        return std::nullopt;
    if (saturated || quint64(used.size()) >= reachable)
        return std::move(copy->text);

    Key key = keyOf(copy->signature);
    quint64 attempts = 1;
    while (used.count(key)) {
        if (attempts >= attemptLimit) {
            saturated = true;
            return std::move(copy->text);
        }
        copy = source.next();
        if (!copy)
            return std::nullopt;
        key = keyOf(copy->signature);
        if (++attempts % 4096 == 0 && keepGoing && !keepGoing())
            return std::nullopt;
    }
    used.insert(key);
    return std::move(copy->text);
}

} // namespace spintax
