#pragma once
// Pairs of names with the order the logical order (core/LogicalOrder.h) gives
// them, in a form a test can also run against StrCmpLogicalW: each pair says
// who else is expected to agree. Names are UTF-8. Portable, header only.
namespace LogicalOrderCases {

enum class TAgreement {
  // StrCmpLogicalW gives this order on Windows and under Wine.
  Everywhere,
  // Windows gives this order; Wine's StrCmpLogicalW does not (it has no
  // period class and ignores leading zeros).
  WindowsOnly,
  // The program's own rule, which StrCmpLogicalW need not share: bytes that
  // are not UTF-8 (a W function cannot be given them), digit runs longer
  // than an integer holds, and characters beyond ASCII, ordered here by code
  // point where Windows orders them by language ("é" beside "e").
  Own,
};

struct TCase {
  const char* A;
  const char* B;
  int Order;  // -1: A before B; 0: equal; 1: A after B
  TAgreement Agreement;
};

constexpr TAgreement Everywhere = TAgreement::Everywhere;
constexpr TAgreement WindowsOnly = TAgreement::WindowsOnly;
constexpr TAgreement Own = TAgreement::Own;

inline constexpr TCase Cases[] = {
    // Numbers by value.
    {"2.jpg", "10.jpg", -1, Everywhere},
    {"a2", "a10", -1, Everywhere},
    {"a10", "b1", -1, Everywhere},
    {"IMG_0009.jpg", "IMG_0010.jpg", -1, Everywhere},
    {"IMG_0099.jpg", "IMG_0100.jpg", -1, Everywhere},
    {"99", "100", -1, Everywhere},
    {"0", "1", -1, Everywhere},
    {"x1y", "x1z", -1, Everywhere},
    {"x2y1", "x2y01z", -1, Everywhere},
    {"Ie4_128", "Ie5", -1, Everywhere},
    {"Ie6", "Ie401sp2", -1, Everywhere},
    {"photo 9", "photo 10", -1, Everywhere},
    {"2147483647", "2147483646", 1, Everywhere},
    // The documented example, in order.
    {"2string", "3string", -1, Everywhere},
    {"3string", "20string", -1, Everywhere},
    {"20string", "st2ring", -1, Everywhere},
    {"st2ring", "st3ring", -1, Everywhere},
    {"st3ring", "st20ring", -1, Everywhere},
    {"st20ring", "string2", -1, Everywhere},
    {"string2", "string3", -1, Everywhere},
    {"string3", "string20", -1, Everywhere},
    // Case.
    {"abc", "ABC", 0, Everywhere},
    {"IMG_0001.JPG", "img_0001.jpg", 0, Everywhere},
    {"a", "B", -1, Everywhere},
    {"Zebra", "apple", 1, Everywhere},
    {"École", "école", 0, Everywhere},
    {"ΩΜΕΓΑ", "ωμεγα", 0, Everywhere},
    {"ЖУК", "жук", 0, Everywhere},
    // Numbers before other characters, names that end before longer ones.
    {"1", "a", -1, Everywhere},
    {"9z", "a", -1, Everywhere},
    {"a1", "aa", -1, Everywhere},
    {"a1", "a_", -1, Everywhere},
    {"a 1", "a1", 1, Everywhere},
    {"", "a", -1, Everywhere},
    {"", "0", -1, Everywhere},
    {"", "", 0, Everywhere},
    {"a", "ab", -1, Everywhere},
    {"abc", "abc1", -1, Everywhere},
    {"same name.jpg", "same name.jpg", 0, Everywhere},
    // ASCII symbols before letters.
    {"_a", "a", -1, Everywhere},
    {"a_b", "ab", -1, Everywhere},
    {"~x", "x", -1, Everywhere},
    // Leading zeros decide only between otherwise equal names.
    {"a1b1", "a01b2", -1, Everywhere},
    {"a1b2", "a01b3", -1, Everywhere},
    {"a01b2", "a1b2", -1, WindowsOnly},
    {"01", "1", -1, WindowsOnly},
    {"IMG_0009", "IMG_9", -1, WindowsOnly},
    {"a007b", "a07b", -1, WindowsOnly},
    {"000", "0", -1, WindowsOnly},
    // The period before everything.
    {"a.jpg", "a1.jpg", -1, WindowsOnly},
    {"a.jpg", "a (2).jpg", -1, WindowsOnly},
    {"a.jpg", "a_b.jpg", -1, WindowsOnly},
    {"a.jpg", "a-b.jpg", -1, WindowsOnly},
    // Digit runs longer than any integer.
    {"a123456789012345678901234567890", "a123456789012345678901234567891", -1, Own},
    {"a123456789012345678901234567890", "a99999999999999999999999999999", 1, Own},
    {"000000000000000000000000000001", "2", -1, Own},
    {"4294967296", "4294967295", 1, Own},
    {"18446744073709551617", "18446744073709551616", 1, Own},
    // Beyond ASCII: by code point after case folding.
    {"é", "f", 1, Own},
    {"z", "é", -1, Own},
    {"Straße", "STRASSE", 1, Own},
    {"ſ", "S", 0, Own},
    {"Ÿ", "ÿ", 0, Own},
    {"µ", "Μ", 0, Own},
    {"写真2", "写真10", -1, Own},
    {"😀1", "😀01", 1, Own},
    // Bytes that are not UTF-8: after every character, each byte on its own.
    {"\xFF", "a", 1, Own},
    {"\xC3", "\xC3\xA9", 1, Own},
    {"a\xE2\x82", "a\xE2\x82\xAC", 1, Own},
    {"\xC0\xAF", "/", 1, Own},
    {"\xED\xA0\x80", "\xF4\x8F\xBF\xBF", 1, Own},
    {"\xFE" "1", "\xFE" "01", 1, Own},
};

}  // namespace LogicalOrderCases
