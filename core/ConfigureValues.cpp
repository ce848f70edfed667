#include "core/ConfigureValues.h"

#include <cmath>
#include <limits>

#include "core/Errors.h"
#include "core/IntegerText.h"

namespace {

constexpr std::int64_t Int32Max = std::numeric_limits<std::int32_t>::max();
constexpr std::int64_t Int32Min = std::numeric_limits<std::int32_t>::min();

}  // namespace

TIntervalDisplay IntervalDisplay(std::int32_t Milliseconds) {
  if (Milliseconds < 1000) return {Milliseconds, TIntervalUnit::None};
  if (Milliseconds <= 60000) return {Milliseconds / 1000, TIntervalUnit::Seconds};
  return {Milliseconds / 60000, TIntervalUnit::Minutes};
}

std::int32_t IntervalFromText(const std::string& Text, TIntervalUnit Unit) {
  std::int32_t N = 0;
  if (!ReadInteger(Text, N)) throw EConvertError(Format("'%s' is not a valid integer value", Text.c_str()));
  const bool Seconds = Unit == TIntervalUnit::Seconds;
  const std::int64_t Factor = Seconds ? 1000 : 60000;
  const std::int64_t Product = static_cast<std::int64_t>(N) * Factor;
  if (Product > Int32Max || Product < Int32Min) {
    const char* UnitName = Seconds ? "seconds" : "minutes";
    throw EConvertError(Format("An interval of %d %s is too long; the longest interval is %lld %s", N, UnitName,
                               static_cast<long long>(Int32Max / Factor), UnitName));
  }
  return static_cast<std::int32_t>(Product);
}

std::int32_t PercentFromFactor(double Factor) {
  const double Percent = std::nearbyint(Factor * 100.0);  // the default rounding: halves to even
  if (std::isnan(Percent)) return 0;
  if (Percent >= static_cast<double>(Int32Max)) return static_cast<std::int32_t>(Int32Max);
  if (Percent <= static_cast<double>(Int32Min)) return static_cast<std::int32_t>(Int32Min);
  return static_cast<std::int32_t>(Percent);
}

std::string GroupThousands(std::uint64_t Count, const std::string& Separator) {
  std::string Digits = std::to_string(Count);
  for (std::size_t I = Digits.size(); I > 3; I -= 3) Digits.insert(I - 3, Separator);
  return Digits;
}
