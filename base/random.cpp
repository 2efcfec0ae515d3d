#include "base/random.h"

namespace {

std::uint64_t state = 0x2545f4914f6cdd1dull;

// splitmix64: small, fast and the same everywhere.
std::uint64_t next() {
  std::uint64_t z = (state += 0x9e3779b97f4a7c15ull);
  z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ull;
  z = (z ^ (z >> 27)) * 0x94d049bb133111ebull;
  return z ^ (z >> 31);
}

}  // namespace

void seed_random(std::uint64_t seed) {
  state = seed;
}

float random_float(float lo, float hi) {
  const float unit = float(next() >> 40) * (1.0f / 16777216.0f);  // 24 bits: [0, 1)
  const float v = lo + (hi - lo) * unit;
  return v < hi ? v : lo;
}
