#include "core/LogicalOrder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "support/LogicalOrderCases.h"

namespace {

TEST(LogicalOrder, OrdersEveryPairOfTheTableBothWays) {
  for (const LogicalOrderCases::TCase& C : LogicalOrderCases::Cases) {
    EXPECT_EQ(CompareLogical(C.A, C.B), C.Order) << '"' << C.A << "\" against \"" << C.B << '"';
    EXPECT_EQ(CompareLogical(C.B, C.A), -C.Order) << '"' << C.B << "\" against \"" << C.A << '"';
    EXPECT_EQ(CompareLogical(C.A, C.A), 0) << C.A;
  }
}

TEST(LogicalOrder, SortsAFolderAsExplorerListsIt) {
  const std::vector<std::string> Listed = {"1.jpg",        "2.jpg",          "10.jpg",       "IMG_0009.JPG",
                                           "img_0010.jpg", "IMG_0100.jpg",   "Urlaub.jpg",   "Urlaub2.jpg",
                                           "Urlaub10.jpg", "Urlaub (2).jpg", "Urlaub_a.jpg", "Urlaubsfoto.jpg",
                                           "vacances.jpg", "Vacances 2.jpg"};
  std::vector<std::string> Shuffled = Listed;
  std::mt19937 Rng(25);
  for (int Round = 0; Round < 20; ++Round) {
    std::shuffle(Shuffled.begin(), Shuffled.end(), Rng);
    std::stable_sort(Shuffled.begin(), Shuffled.end(), TLogicalLess());
    ASSERT_EQ(Shuffled, Listed);
  }
}

// Names made of the pieces where an order goes wrong: digits with and without
// leading zeros, long runs, periods, case, symbols, letters beyond ASCII and
// bytes that are not UTF-8 (cut sequences, stray continuation bytes).
std::string RandomName(std::mt19937& Rng) {
  static const char* const Pieces[] = {
      "0", "00", "1", "01", "9", "10", "007", "123456789012345678901234567890", "99999999999999999999",
      ".", "a", "A", "b", "Z", "_", " ", "-", "~", "é", "É", "ß", "Ω", "ω", "ſ", "s", "写", "😀",
      "\xFF", "\xC3", "\x80", "\xE2\x82", "\xED\xA0\x80", ""};
  std::uniform_int_distribution<int> Length(0, 5), Piece(0, std::size(Pieces) - 1);
  std::string Name;
  for (int I = Length(Rng); I > 0; --I) Name += Pieces[Piece(Rng)];
  return Name;
}

// Sorted by the order, the names fall into runs of equal names, each run
// before the next: every pair compares, from either side, as the runs they
// lie in. That holds exactly when the order is a strict weak order on the
// names; and std::sort (under AddressSanitizer) would read outside the array
// for many orders that are not.
TEST(LogicalOrder, IsAStrictWeakOrderOnAnyBytes) {
  std::mt19937 Rng(20250125);
  for (int Round = 0; Round < 3; ++Round) {
    std::vector<std::string> Names(700);
    for (std::string& Name : Names) Name = RandomName(Rng);
    std::sort(Names.begin(), Names.end(), TLogicalLess());
    std::vector<int> Run(Names.size());
    for (std::size_t I = 1; I < Names.size(); ++I)
      Run[I] = Run[I - 1] + (CompareLogical(Names[I - 1], Names[I]) < 0 ? 1 : 0);
    for (std::size_t I = 0; I < Names.size(); ++I)
      for (std::size_t J = I; J < Names.size(); ++J) {
        const int Expected = Run[I] == Run[J] ? 0 : -1;
        ASSERT_TRUE(CompareLogical(Names[I], Names[J]) == Expected && CompareLogical(Names[J], Names[I]) == -Expected)
            << '"' << Names[I] << "\" against \"" << Names[J] << '"';
      }
  }
}

TEST(LogicalOrder, TransitiveOverRandomTriples) {
  std::mt19937 Rng(7);
  for (int I = 0; I < 200000; ++I) {
    const std::string A = RandomName(Rng), B = RandomName(Rng), C = RandomName(Rng);
    const int AB = CompareLogical(A, B), BC = CompareLogical(B, C), AC = CompareLogical(A, C);
    if (AB <= 0 && BC <= 0) {
      ASSERT_EQ(AC, std::min(AB, BC)) << A << " | " << B << " | " << C;
    }
  }
}

}  // namespace
