#pragma once

#include <cstdint>
#include <span>

namespace velmora {

// A small generator with a fixed seed (splitmix64), so that every
// installation gets the same demo data on every platform; the standard
// distributions differ between libraries.
class DemoRandom {
public:
    explicit DemoRandom(std::uint64_t seed) : m_state(seed) {}

    std::uint64_t next() {
        std::uint64_t z = (m_state += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    // 0 .. n-1
    int below(int n) { return n <= 0 ? 0 : static_cast<int>(next() % static_cast<std::uint64_t>(n)); }
    // low .. high inclusive
    int between(int low, int high) { return low + below(high - low + 1); }
    bool percent(int chance) { return below(100) < chance; }
    template <typename T>
    const T& pick(std::span<const T> items) {
        return items[static_cast<size_t>(below(static_cast<int>(items.size())))];
    }

private:
    std::uint64_t m_state;
};

}  // namespace velmora
