#pragma once
// FitImage: the size at which a picture is drawn into a rectangular area.
// Pure integer/extended-precision arithmetic; no allocation, no platform call.
//
// Arithmetic contract (it decides results near halfway values):
//  - Ratio = H / W of the picture as passed in, divided in long double (the
//    x87 80-bit format with a 64-bit significand) and then rounded to double.
//  - Every n * Ratio, n / Ratio and n * Factor is formed in long double from
//    the int n and the double, and that extended value is rounded to the
//    nearest int, halfway cases to even. Values beyond the int range saturate
//    (NaN gives 0).
//  - Sizes are signed 32-bit; comparisons are signed.
//
// Degenerate pictures:
//  - A 0 x 0 picture stays 0 x 0 for every area, flag and factor.
//  - A picture with exactly one side 0 is returned unchanged whenever
//    KeepAspect is set and it would need resizing (its ratio is undefined):
//    the caller has nothing to draw either way, and no division by zero takes
//    place. Such a result may exceed the area. Without KeepAspect the ordinary
//    per-side rules apply.
//  - Negative areas are not a supported input; the count-down loops still end
//    (they stop when the leading side reaches 0).

// W and H: in the picture's size, out the size to draw it at. Shrinks a picture
// larger than the area (Factor plays no part), enlarges a smaller one up to
// Round(side * Factor) (Factor 1.0 means no enlargement), else leaves it alone.
void FitImage(int AreaW, int AreaH, bool KeepAspect, double Factor, int& W, int& H);

// The two steps FitImage chooses between; W and H in-out.
void ShrinkToFit(bool KeepAspect, int AreaW, int AreaH, int& W, int& H);
void EnlargeToFit(bool KeepAspect, int AreaW, int AreaH, double Factor, int& W, int& H);
