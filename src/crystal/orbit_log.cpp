#include "crystal/orbit_log.h"

#include <bit>
#include <cmath>
#include <cstdint>

namespace {

constexpr double Ln2 = 0.693147180559945309417;
// The table's rounding and the series stay within about 1e-15 of the true
// value; a result this far from a float rounding boundary rounds like
// std::log's.
constexpr double Tolerance = 1e-12;

// For the mantissa range [1 + k/128, 1 + (k+1)/128): the inverse of its
// midpoint, and minus the log of that inverse, taken once with std::log.
struct LogTable {
  double inverse[128];
  double negatedLogOfInverse[128];
  LogTable() {
    for (int k = 0; k < 128; ++k) {
      inverse[k] = 1.0 / (1.0 + (k + 0.5) / 128);
      negatedLogOfInverse[k] = -std::log(inverse[k]);
    }
  }
};

const LogTable Table;

// ln x for a positive, finite, normal x = m * 2^e, m in [1, 2): with c the
// midpoint of m's table range, ln m = ln(m / c) + ln c, and m / c = 1 + r
// with |r| < 0.004, where six terms of the series for ln(1 + r) suffice.
double TableLog(double x) {
  const uint64_t bits = std::bit_cast<uint64_t>(x);
  const int exponent = static_cast<int>((bits >> 52) & 0x7ff) - 1023;
  const int k = static_cast<int>((bits >> 45) & 127);
  const double m = std::bit_cast<double>((bits & 0x000fffffffffffffULL) | 0x3ff0000000000000ULL);
  const double r = m * Table.inverse[k] - 1.0;
  const double series = r * (1.0 + r * (-1.0 / 2 + r * (1.0 / 3 + r * (-1.0 / 4 + r * (1.0 / 5 - r * (1.0 / 6))))));
  return exponent * Ln2 + Table.negatedLogOfInverse[k] + series;
}

}  // namespace

float OrbitLogMagnitude(float re, float im) {
  const double x = static_cast<double>(re) * re + static_cast<double>(im) * im + 0.001;
  const double fast = 0.2 * TableLog(x);
  if (static_cast<float>(fast - Tolerance) == static_cast<float>(fast + Tolerance)) {
    return static_cast<float>(fast);
  }
  return static_cast<float>(0.2 * std::log(x));
}
