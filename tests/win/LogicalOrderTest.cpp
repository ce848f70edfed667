// The logical order of names against Explorer's own, StrCmpLogicalW, on the
// pairs of the shared table that Wine's implementation agrees with.
#include <shlwapi.h>

#include "support/LogicalOrderCases.h"
#include "platform/WideText.h"

namespace {

int Sign(int Value) { return (Value > 0) - (Value < 0); }

TEST(LogicalOrder, AgreesWithStrCmpLogicalW) {
  for (const LogicalOrderCases::TCase& C : LogicalOrderCases::Cases) {
    if (C.Agreement != LogicalOrderCases::Everywhere) continue;
    EXPECT_EQ(Sign(StrCmpLogicalW(Wide(C.A).c_str(), Wide(C.B).c_str())), C.Order)
        << '"' << C.A << "\" against \"" << C.B << '"';
  }
}

}  // namespace
