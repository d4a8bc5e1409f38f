#include "decode/exact_math.h"

namespace hoshizora {
namespace {

// Taylor series to x^17 on [-pi/4, pi/4].
double SinSmall(double x) {
  const double x2 = x * x;
  double s = 1.0 / 355687428096000.0;  // 1/17!
  s = s * -x2 + 1.0 / 1307674368000.0;
  s = s * -x2 + 1.0 / 6227020800.0;
  s = s * -x2 + 1.0 / 39916800.0;
  s = s * -x2 + 1.0 / 362880.0;
  s = s * -x2 + 1.0 / 5040.0;
  s = s * -x2 + 1.0 / 120.0;
  s = s * -x2 + 1.0 / 6.0;
  s = s * -x2 + 1.0;
  return s * x;
}

double CosSmall(double x) {
  const double x2 = x * x;
  double c = 1.0 / 6402373705728000.0;  // 1/18!
  c = c * -x2 + 1.0 / 20922789888000.0;
  c = c * -x2 + 1.0 / 87178291200.0;
  c = c * -x2 + 1.0 / 479001600.0;
  c = c * -x2 + 1.0 / 3628800.0;
  c = c * -x2 + 1.0 / 40320.0;
  c = c * -x2 + 1.0 / 720.0;
  c = c * -x2 + 1.0 / 24.0;
  c = c * -x2 + 1.0 / 2.0;
  return c * -x2 + 1.0;
}

}  // namespace

SinCos ExactSinCos(double x) {
  const double half_pi = kPi / 2;
  double q = x / half_pi;
  // Round to the nearest quadrant without the C library.
  const long long n = static_cast<long long>(q >= 0 ? q + 0.5 : q - 0.5);
  const double r = x - static_cast<double>(n) * half_pi;
  const double s = SinSmall(r);
  const double c = CosSmall(r);
  switch (static_cast<int>(n & 3)) {
    case 0:
      return {s, c};
    case 1:
      return {c, -s};
    case 2:
      return {-s, -c};
    default:
      return {-c, s};
  }
}

}  // namespace hoshizora
