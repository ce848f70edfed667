#pragma once
// The one order of the toolkit's sorted lists: every sorted list box and
// combo box inserts by this comparison, so lists filled with the same names
// hold them in the same order. Portable.
#include <string>

// Compares two texts without regard to the case of ASCII letters, byte by
// byte otherwise; negative, zero or positive.
int CompareText(const std::string& A, const std::string& B);

// Whether two texts are equal without regard to the case of ASCII letters.
inline bool SameText(const std::string& A, const std::string& B) { return CompareText(A, B) == 0; }
