#include "core/ConfigureValues.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "core/Errors.h"
#include "core/SpinRange.h"
#include "core/TextCompare.h"
#include "core/Ticks.h"

namespace {

const char* UnitName(TIntervalUnit U) {
  return U == TIntervalUnit::None ? "none" : U == TIntervalUnit::Seconds ? "seconds" : "minutes";
}

std::string ConvertError(const std::string& Text, TIntervalUnit Unit) {
  try {
    IntervalFromText(Text, Unit);
  } catch (const EConvertError& E) {
    return E.what();
  }
  return "<no error>";
}

}  // namespace

TEST(IntervalDisplay, ShowsMillisecondsSecondsOrWholeMinutes) {
  struct {
    std::int32_t Ms, Shown;
    TIntervalUnit Unit;
  } const Cases[] = {
      {500, 500, TIntervalUnit::None},        {999, 999, TIntervalUnit::None},
      {0, 0, TIntervalUnit::None},            {-7000, -7000, TIntervalUnit::None},
      {1000, 1, TIntervalUnit::Seconds},      {1999, 1, TIntervalUnit::Seconds},
      {5000, 5, TIntervalUnit::Seconds},      {60000, 60, TIntervalUnit::Seconds},
      {60001, 1, TIntervalUnit::Minutes},     {90000, 1, TIntervalUnit::Minutes},
      {119999, 1, TIntervalUnit::Minutes},    {120000, 2, TIntervalUnit::Minutes},
      {2147483647, 35791, TIntervalUnit::Minutes},
  };
  for (const auto& C : Cases) {
    const TIntervalDisplay D = IntervalDisplay(C.Ms);
    EXPECT_EQ(D.Shown, C.Shown) << C.Ms;
    EXPECT_EQ(D.Unit, C.Unit) << C.Ms << " gave " << UnitName(D.Unit);
  }
}

TEST(IntervalFromText, MultipliesByTheUnitAndRefusesWhatDoesNotFit) {
  EXPECT_EQ(IntervalFromText("7", TIntervalUnit::Seconds), 7000);
  EXPECT_EQ(IntervalFromText("2", TIntervalUnit::Minutes), 120000);
  EXPECT_EQ(IntervalFromText("500", TIntervalUnit::None), 30000000);
  EXPECT_EQ(IntervalFromText(" +1", TIntervalUnit::Seconds), 1000);
  EXPECT_EQ(IntervalFromText("2147483", TIntervalUnit::Seconds), 2147483000);
  EXPECT_EQ(IntervalFromText("35791", TIntervalUnit::Minutes), 2147460000);
  EXPECT_EQ(IntervalFromText("-5", TIntervalUnit::Seconds), -5000);

  for (const char* Bad : {"abc", "", "-", "+", ",", ".", "1.5", "7 ", "99999999999"})
    EXPECT_EQ(ConvertError(Bad, TIntervalUnit::Seconds), std::string("'") + Bad + "' is not a valid integer value");

  EXPECT_EQ(ConvertError("36000", TIntervalUnit::Minutes),
            "An interval of 36000 minutes is too long; the longest interval is 35791 minutes");
  EXPECT_EQ(ConvertError("36000", TIntervalUnit::None),
            "An interval of 36000 minutes is too long; the longest interval is 35791 minutes");
  EXPECT_EQ(ConvertError("2147484", TIntervalUnit::Seconds),
            "An interval of 2147484 seconds is too long; the longest interval is 2147483 seconds");
  EXPECT_NE(ConvertError("-2147484", TIntervalUnit::Seconds), "<no error>") << "nor wrapped below";
}

TEST(PercentFromFactor, RoundsHalvesToEvenAndSaturates) {
  EXPECT_EQ(PercentFromFactor(1.0), 100);
  EXPECT_EQ(PercentFromFactor(2.5), 250);
  EXPECT_EQ(PercentFromFactor(0.5), 50);
  EXPECT_EQ(PercentFromFactor(12.0), 1200);
  EXPECT_EQ(PercentFromFactor(1.125), 112) << "112.5 goes to the even 112";
  EXPECT_EQ(PercentFromFactor(1.135), 114) << "the product is 113.5 in doubles: to the even 114";
  EXPECT_EQ(PercentFromFactor(1.165), 116) << "116.5: to the even 116";
  EXPECT_EQ(PercentFromFactor(0.015), 2) << "1.5 goes to the even 2";
  EXPECT_EQ(PercentFromFactor(-0.025), -2) << "-2.5 goes to the even -2";
  EXPECT_EQ(PercentFromFactor(1e300), std::numeric_limits<std::int32_t>::max());
  EXPECT_EQ(PercentFromFactor(-1e300), std::numeric_limits<std::int32_t>::min());
  EXPECT_EQ(PercentFromFactor(std::nan("")), 0);
}

TEST(SpinRange, ClampsOnlyWhenBoundedAndReadsTheMinimumForNonIntegers) {
  const TSpinRange Width{100, 9000};
  EXPECT_EQ(Width.Clamp(50), 100);
  EXPECT_EQ(Width.Clamp(100), 100);
  EXPECT_EQ(Width.Clamp(9001), 9000);
  EXPECT_EQ(Width.Clamp(1234), 1234);
  const TSpinRange Free{0, 0};
  EXPECT_FALSE(Free.Bounded());
  EXPECT_EQ(Free.Clamp(-5), -5);
  EXPECT_EQ(Free.Clamp(1LL << 40), std::numeric_limits<std::int32_t>::max()) << "still a 32-bit value";
  const TSpinRange Height{50, 2000};
  EXPECT_EQ(Height.Read("640"), 640);
  EXPECT_EQ(Height.Read("5000"), 5000) << "reading does not clamp";
  EXPECT_EQ(Height.Read(""), 50);
  EXPECT_EQ(Height.Read("1.5"), 50);
  EXPECT_EQ(Height.Read("-"), 50);
  EXPECT_EQ(Free.Read("abc"), 0);
}

TEST(SpinEditAccepts, DigitsSeparatorSignsAndControlCharactersOnly) {
  for (char C : std::string("0123456789.+-\b\x16\x03")) EXPECT_TRUE(SpinEditAccepts(C, '.')) << int(C);
  for (char C : std::string("aZ ,e$x/")) EXPECT_FALSE(SpinEditAccepts(C, '.')) << C;
  EXPECT_TRUE(SpinEditAccepts(',', ','));
  EXPECT_FALSE(SpinEditAccepts('.', ','));
}

TEST(CompareText, OneCaseInsensitiveOrderForEverySortedList) {
  EXPECT_EQ(CompareText("holiday", "HOLIDAY"), 0);
  EXPECT_LT(CompareText("apple", "Banana"), 0);
  EXPECT_GT(CompareText("b", "A"), 0);
  EXPECT_LT(CompareText("Hol", "holiday"), 0);
  EXPECT_LT(CompareText("", "a"), 0);
  EXPECT_LT(CompareText("Z", "_"), 0) << "letters fold to upper case before bytes compare";
  EXPECT_TRUE(SameText("Summer 2024", "SUMMER 2024"));
  EXPECT_FALSE(SameText("Summer", "Summer "));
}

TEST(TicksElapsed, CountsTheUnsignedDifferenceAcrossTheWrap) {
  EXPECT_FALSE(TicksElapsed(1000, 1000, 5000));
  EXPECT_FALSE(TicksElapsed(1000, 5999, 5000));
  EXPECT_TRUE(TicksElapsed(1000, 6000, 5000));
  // Started 2 seconds before the wrap: the sum 5000 + start wraps to a small
  // number, yet the wait goes on until 5 seconds have really passed.
  const std::uint32_t Start = 0xFFFFFFFFu - 1999u;
  EXPECT_FALSE(TicksElapsed(Start, 0xFFFFFFFFu, 5000));
  EXPECT_FALSE(TicksElapsed(Start, 2999u, 5000));
  EXPECT_TRUE(TicksElapsed(Start, 3000u, 5000));
  EXPECT_TRUE(TicksElapsed(Start, Start, 0));
}

TEST(GroupThousands, GroupsByThreeFromTheRight) {
  EXPECT_EQ(GroupThousands(0, ","), "0");
  EXPECT_EQ(GroupThousands(999, ","), "999");
  EXPECT_EQ(GroupThousands(1234, ","), "1,234");
  EXPECT_EQ(GroupThousands(123456, "."), "123.456");
  EXPECT_EQ(GroupThousands(1234567, "\xA0"), "1\xA0" "234\xA0" "567");
}
