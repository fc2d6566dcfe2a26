#pragma once

#include "spintree.h"

#include <QtGlobal>

#include <type_traits>
#include <utility>
#include <vector>

// The one counting walk behind cT (64 bits, saturating), the reachable count
// and the exact count of the command line (GMP's mpz_class). Any number type
// with a CountArithmetic works.
namespace spintax {

enum class CountRule
{
    // The number of distinct copies as the status of a batch counts them: a
    // group without nested groups counts every piece of its content, trailing
    // empty ones too (bars + 1); a group with nested groups sums its
    // alternatives, where an empty alternative counts 0 unless it is the last.
    Formula,
    // The number of signatures the generator can produce: a group without
    // nested groups counts the pieces it chooses from (at least one, the empty
    // output of «{|}»); a group with nested groups sums its alternatives, each
    // the product of its own groups (1 without groups).
    Reachable,
};

// Exact arithmetic for types that have it (mpz_class).
template <typename Num> struct CountArithmetic
{
    static Num of(quint64 v) { return Num(static_cast<unsigned long>(v)); }
    static void add(Num &a, const Num &b) { a += b; }
    static void multiply(Num &a, const Num &b) { a *= b; }
};

// 64 bits, saturating at 2^64 - 1. The saturated value stands for "at least
// that many": adding or multiplying by a positive number keeps it, and
// multiplying by 0 gives the exact 0, so saturation is order independent.
template <> struct CountArithmetic<quint64>
{
    static quint64 of(quint64 v) { return v; }
    static void add(quint64 &a, quint64 b)
    {
        if (__builtin_add_overflow(a, b, &a))
            a = ~quint64(0);
    }
    static void multiply(quint64 &a, quint64 b)
    {
        if (__builtin_mul_overflow(a, b, &a))
            a = ~quint64(0);
    }
};

namespace detail {

// Product of many factors pairwise, so that big numbers meet big numbers of
// similar size instead of one growing number being multiplied thousands of
// times (17,000 digits in milliseconds instead of a quadratic crawl).
template <typename Num> Num balancedProduct(std::vector<Num> &factors)
{
    using A = CountArithmetic<Num>;
    if (factors.empty())
        return A::of(1);
    while (factors.size() > 1) {
        size_t w = 0;
        for (size_t r = 0; r < factors.size(); r += 2) {
            if (r + 1 < factors.size())
                A::multiply(factors[r], factors[r + 1]);
            if (w != r)
                factors[w] = std::move(factors[r]);
            ++w;
        }
        factors.resize(w);
    }
    return std::move(factors[0]);
}

} // namespace detail

template <typename Num> Num countCombinations(const SpinTree &tree, CountRule rule)
{
    using A = CountArithmetic<Num>;
    constexpr bool small = std::is_same_v<Num, quint64>;
    const std::vector<SpinTree::Group> &groups = tree.groups();
    std::vector<Num> counts(groups.size());
    std::vector<Num> factors;

    // Product of the groups directly in `items`; 1 when there is none.
    auto productOf = [&](std::span<const SpinTree::Item> items) {
        if constexpr (small) {
            Num p = A::of(1);
            for (const SpinTree::Item &item : items)
                if (item.isGroup())
                    A::multiply(p, counts[size_t(item.group)]);
            return p;
        } else {
            factors.clear();
            for (const SpinTree::Item &item : items)
                if (item.isGroup())
                    factors.push_back(std::move(counts[size_t(item.group)]));
            return detail::balancedProduct(factors);
        }
    };

    // Groups are numbered in order of their `{`: backwards, every nested group
    // is counted before the group around it.
    for (size_t g = groups.size(); g-- > 0;) {
        const SpinTree::Group &group = groups[g];
        const std::span<const SpinTree::Alternative> alts = tree.alternatives(group);
        Num n = A::of(0);
        if (group.simple) {
            if (rule == CountRule::Formula)
                n = A::of(quint64(group.alternativeCount));
            else
                n = A::of(quint64(group.simpleCount > 0 ? group.simpleCount : 1));
        } else {
            for (size_t k = 0; k < alts.size(); ++k) {
                const SpinTree::Alternative &a = alts[k];
                const bool last = k + 1 == alts.size();
                if (a.groupCount > 0)
                    A::add(n, productOf(tree.items(a)));
                else if (rule == CountRule::Reachable || last || !a.isEmpty())
                    A::add(n, A::of(1));
            }
        }
        counts[g] = std::move(n);
    }

    if (tree.rootGroupCount() == 0) {
        const bool empty = tree.source().isEmpty();
        return A::of(rule == CountRule::Formula && empty ? 0 : 1);
    }
    return productOf(tree.rootItems());
}

} // namespace spintax
