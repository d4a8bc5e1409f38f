#pragma once

namespace hoshizora {

inline constexpr double kPi = 3.141592653589793;

// Sine and cosine from a fixed polynomial, so that every build and every C
// library computes the same bits: the decoder's output must not depend on the
// libm it runs on. Accurate to about 1e-15 for any finite argument that is not huge.
struct SinCos {
  double sin;
  double cos;
};
SinCos ExactSinCos(double x);

}  // namespace hoshizora
