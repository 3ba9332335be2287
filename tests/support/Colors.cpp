#include "support/Colors.h"

#include <cmath>
#include <cstdlib>

COLORREF LinearBlend(COLORREF from, COLORREF to, double p) {
  auto channel = [&](int shift) {
    const double f = (from >> shift) & 0xFF, t = (to >> shift) & 0xFF;
    return COLORREF(std::lround(f + (t - f) * p)) << shift;
  };
  return channel(0) | channel(8) | channel(16);
}

::testing::AssertionResult NearColor(COLORREF actual, COLORREF expected, int tolerance) {
  for (int shift : {0, 8, 16}) {
    const int a = int((actual >> shift) & 0xFF), e = int((expected >> shift) & 0xFF);
    if (std::abs(a - e) > tolerance)
      return ::testing::AssertionFailure() << std::hex << "0x" << actual << " is not near 0x" << expected;
  }
  return ::testing::AssertionSuccess();
}
