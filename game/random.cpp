// random.cpp: the game's one random source, so that a seed always deals the same games.
#include "random.h"

#include <cstdint>

namespace dovra {

namespace {
std::uint64_t state = 1;
constexpr std::uint64_t MULTIPLIER = 0x000015A400004E35ULL;
}  // namespace

void srand(unsigned int seed)
{
    state = static_cast<std::uint64_t>(seed & 0xFFFFFFFFu);
}

int _lrand()
{
    state = state * MULTIPLIER + 1;  // unsigned: wraps modulo 2^64
    return static_cast<int>((state >> 32) & 0x7FFFFFFFu);
}

}  // namespace dovra
