#pragma once
// How much of one frequency a recording holds: a single Goertzel filter, cheap enough to run
// over every stretch of a recording for a handful of frequencies.

#include <cmath>
#include <cstdint>
#include <numbers>
#include <span>

namespace tunelark::testing {

inline double tonePower(std::span<const std::int16_t> samples, double hertz, int rate) {
  const double coefficient = 2 * std::cos(2 * std::numbers::pi * hertz / rate);
  double s1 = 0, s2 = 0;
  for (const std::int16_t sample : samples) {
    const double s0 = sample + coefficient * s1 - s2;
    s2 = s1;
    s1 = s0;
  }
  return s1 * s1 + s2 * s2 - coefficient * s1 * s2;
}

}  // namespace tunelark::testing
