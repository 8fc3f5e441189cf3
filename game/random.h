// random.h: the game's one random source, a 64-bit linear congruential generator.
#pragma once

namespace dovra {

void srand(unsigned int seed);
int _lrand();

}  // namespace dovra
