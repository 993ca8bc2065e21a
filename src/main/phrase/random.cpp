// The one random-number routine of the system, seeded once from the clock.
#include <cstdlib>
#include <ctime>

#include "main/phrase/phrase.h"

std::int32_t randomInRange(std::int32_t low, std::int32_t high) {
    static bool seeded = false;
    if (!seeded) {
        std::srand(static_cast<unsigned>(std::time(nullptr)));
        seeded = true;
    }
    if (low > high) {
        std::int32_t t = low;
        low = high;
        high = t;
    }
    // The generator yields 0..32767, so a span is at most 32768 values.
    // The difference is taken in 64 bits, where it cannot overflow.
    if (static_cast<std::int64_t>(high) - low > 32767) high = low + 32767;
    std::int32_t r = std::rand() & 0x7FFF;
    return low + r % (high - low + 1);
}

std::int32_t coinFlip() { return randomInRange(0, 1); }
