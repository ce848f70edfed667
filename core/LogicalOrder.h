#pragma once
// The order in which Explorer lists names ("logical" order): numbers inside
// names compare by their value, so "2.jpg" comes before "10.jpg". Portable.
//
// A name is read as a sequence of units, compared one by one from the start:
//  - a period ("."), which sorts before every other unit, so "a.jpg" comes
//    before "a1.jpg" and "a (2).jpg" (Explorer does this since Windows Vista);
//  - a number: a run of the digits 0 to 9, however long, compared by its
//    value (leading zeros aside), sorting after a period and before any other
//    character, so "1.jpg" and "a1" come before "_a" and "a_";
//  - any other character, compared without regard to case: ASCII symbols and
//    blanks first (by code), then the letters A to Z, then every other
//    character by its code point after simple case folding of Latin-1, Latin
//    Extended-A, Greek and Cyrillic letters ("É" equals "é", "Ω" equals "ω").
//    Beyond ASCII this is not the language-aware order Explorer uses (it
//    sorts "é" beside "e"), but one that needs no locale tables;
//  - bytes that are not valid UTF-8, one unit each, after every character.
// A name that ends sorts before one that goes on. When two names differ only
// in leading zeros, the first number whose zeros differ decides, the one with
// more zeros first ("01" before "1", "a01b2" between "a1b1" and "a1b2").
//
// This is a strict weak order on any bytes, so std::sort and sorted
// containers may use it; no number is converted, so runs of any length work.
#include <string_view>

// Negative, zero or positive as A sorts before, with or after B; -1, 0 or 1.
// Zero for names that differ only in the case of their letters.
int CompareLogical(std::string_view A, std::string_view B);

// A comparison object for sorting with the logical order.
struct TLogicalLess {
  bool operator()(std::string_view A, std::string_view B) const { return CompareLogical(A, B) < 0; }
};
