#include "core/FitImage.h"

#include <algorithm>
#include <climits>

namespace {

// Nearest int to X, halfway cases to even; saturates outside the int range.
// Exact: |X| < 2^31 and the 64-bit significand hold the integer part and the
// fraction of X without loss.
int RoundToInt(long double X) {
  if (!(X == X)) return 0;
  if (X >= static_cast<long double>(INT_MAX)) return INT_MAX;
  if (X <= static_cast<long double>(INT_MIN)) return INT_MIN;
  long long Whole = static_cast<long long>(X);  // truncates toward zero
  long double Frac = X - static_cast<long double>(Whole);
  if (Frac > 0.5L || (Frac == 0.5L && (Whole & 1))) ++Whole;
  else if (Frac < -0.5L || (Frac == -0.5L && (Whole & 1))) --Whole;
  if (Whole > INT_MAX) return INT_MAX;
  if (Whole < INT_MIN) return INT_MIN;
  return static_cast<int>(Whole);
}

int Times(int N, double D) { return RoundToInt(static_cast<long double>(N) * D); }
int Over(int N, double D) { return RoundToInt(static_cast<long double>(N) / D); }

// H / W divided with a 64-bit significand, then rounded to double. The
// volatile store forces that rounding even where the compiler would keep the
// value in an x87 register. Requires W != 0.
double AspectRatio(int W, int H) {
  volatile double Ratio = static_cast<long double>(H) / static_cast<long double>(W);
  return Ratio;
}

// Height leads: the largest height not above StartH whose derived width fits.
void FitByHeight(double Ratio, int AreaW, int StartH, int& W, int& H) {
  H = StartH;
  W = Over(H, Ratio);
  while (W > AreaW && H > 0) {
    --H;
    W = Over(H, Ratio);
  }
}

// Width leads: the largest width not above StartW whose derived height fits.
void FitByWidth(double Ratio, int AreaH, int StartW, int& W, int& H) {
  W = StartW;
  H = Times(W, Ratio);
  while (H > AreaH && W > 0) {
    --W;
    H = Times(W, Ratio);
  }
}

bool HasNoRatio(int W, int H) { return W == 0 || H == 0; }

}  // namespace

void ShrinkToFit(bool KeepAspect, int AreaW, int AreaH, int& W, int& H) {
  if (!KeepAspect) {
    W = AreaW;
    H = AreaH;
    return;
  }
  if (HasNoRatio(W, H)) return;
  const double Ratio = AspectRatio(W, H);
  // Slack compared in 64 bits: the differences of two ints may overflow int.
  const long long SlackH = static_cast<long long>(AreaH) - H;
  const long long SlackW = static_cast<long long>(AreaW) - W;
  if (SlackH > SlackW) FitByHeight(Ratio, AreaW, AreaH, W, H);
  else FitByWidth(Ratio, AreaH, AreaW, W, H);
}

void EnlargeToFit(bool KeepAspect, int AreaW, int AreaH, double Factor, int& W, int& H) {
  const int TW = std::min(Times(W, Factor), AreaW);
  const int TH = std::min(Times(H, Factor), AreaH);
  if (!KeepAspect) {
    W = TW;
    H = TH;
    return;
  }
  if (HasNoRatio(W, H)) return;
  const double Ratio = AspectRatio(W, H);
  if (TH > H) FitByHeight(Ratio, AreaW, TH, W, H);
  else FitByWidth(Ratio, AreaH, TW, W, H);
}

void FitImage(int AreaW, int AreaH, bool KeepAspect, double Factor, int& W, int& H) {
  const int TW = std::min(Times(W, Factor), AreaW);
  const int TH = std::min(Times(H, Factor), AreaH);
  if (W > AreaW || H > AreaH) ShrinkToFit(KeepAspect, AreaW, AreaH, W, H);
  else if (TH > H || TW > W) EnlargeToFit(KeepAspect, AreaW, AreaH, Factor, W, H);
}
