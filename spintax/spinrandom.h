#pragma once

#include <QtGlobal>

namespace spintax {

// The generator's source of choices: xoshiro256** seeded through splitmix64.
// Small, fast and copyable, so a generator state can be saved and put back.
class SpinRandom final
{
public:
    explicit SpinRandom(quint64 seed)
    {
        for (quint64 &word : state) {
            seed += 0x9e3779b97f4a7c15ULL;
            quint64 z = seed;
            z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
            z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
            word = z ^ (z >> 31);
        }
    }

    quint64 next()
    {
        const quint64 result = rotl(state[1] * 5, 7) * 9;
        const quint64 t = state[1] << 17;
        state[2] ^= state[0];
        state[3] ^= state[1];
        state[1] ^= state[2];
        state[0] ^= state[3];
        state[2] ^= t;
        state[3] = rotl(state[3], 45);
        return result;
    }

    // Uniform in [0, n) for n >= 1, without modulo bias (Lemire's method).
    int bounded(int n)
    {
        const quint64 range = quint64(n);
        unsigned __int128 m = static_cast<unsigned __int128>(next()) * range;
        quint64 low = quint64(m);
        if (low < range) {
            const quint64 threshold = (0 - range) % range;
            while (low < threshold) {
                m = static_cast<unsigned __int128>(next()) * range;
                low = quint64(m);
            }
        }
        return int(m >> 64);
    }

private:
    static quint64 rotl(quint64 x, int k) { return (x << k) | (x >> (64 - k)); }
    quint64 state[4];
};

} // namespace spintax
