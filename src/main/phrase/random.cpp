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
    // The generator yields 15 bits a draw. A span of up to 32768 values takes
    // one draw, as it always did; a wider one (the lines of a long word list)
    // takes as many draws as it needs, so that every value can come up.
    // Spans are counted in 64 bits, where INT32_MIN..INT32_MAX fits.
    const std::uint64_t span = static_cast<std::uint64_t>(static_cast<std::int64_t>(high) - low) + 1;
    std::uint64_t r = 0, reach = 1;
    do {
        r = (r << 15) | static_cast<std::uint64_t>(std::rand() & 0x7FFF);
        reach <<= 15;
    } while (reach < span);
    return static_cast<std::int32_t>(static_cast<std::int64_t>(low) + static_cast<std::int64_t>(r % span));
}

std::int32_t coinFlip() { return randomInRange(0, 1); }
