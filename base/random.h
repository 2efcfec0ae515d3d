#pragma once
// The application's one random generator. Everything random in a session
// draws from it, so a session started with the same seed and the same input
// repeats exactly on the same machine.
#include <cstdint>

void seed_random(std::uint64_t seed);
// Uniform in [lo, hi).
float random_float(float lo, float hi);
