#pragma once
// The value rules of the configuration dialog that need no window: how the
// picture interval is shown and read back, how the enlargement factor becomes
// a percentage, and how a spin edit clamps and reads its number. Portable.
#include <cstdint>
#include <string>

enum class TIntervalUnit { None, Seconds, Minutes };

struct TIntervalDisplay {
  std::int32_t Shown = 0;
  TIntervalUnit Unit = TIntervalUnit::None;
};

// Below 1000 ms the milliseconds themselves with no unit; up to 60000 ms whole
// seconds; above that whole minutes (truncating toward zero).
TIntervalDisplay IntervalDisplay(std::int32_t Milliseconds);

// The interval in milliseconds of the field's text in its unit: seconds
// multiply by 1000, minutes and no unit by 60000. Raises EConvertError
// "'<text>' is not a valid integer value" for a text that is no integer, and
// EConvertError naming the largest interval of the unit when the product does
// not fit a signed 32-bit count of milliseconds.
std::int32_t IntervalFromText(const std::string& Text, TIntervalUnit Unit);

// The factor times 100 to the nearest integer, halves to the even neighbour;
// values beyond the 32-bit range (and NaN) are pulled to its ends (NaN to 0).
std::int32_t PercentFromFactor(double Factor);

// A count with its thousands grouped by Separator: 1234 gives "1,234".
std::string GroupThousands(std::uint64_t Count, const std::string& Separator);
