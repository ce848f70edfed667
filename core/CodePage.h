#pragma once
// The system's ANSI code page, as the platform converts it: the interface
// through which portable code reads and writes text that older files hold in
// that code page. Portable.
#include <string>
#include <string_view>

// The system's ANSI code page, as the platform converts it. Every ANSI code
// page Windows uses keeps ASCII as it is, so callers may pass ASCII text on
// without converting it.
class TCodePage {
 public:
  virtual ~TCodePage() = default;
  // The UTF-8 form of text in this code page.
  virtual std::string ToUtf8(std::string_view Bytes) const = 0;
  // The form in this code page of UTF-8 text; false when some character has no exact form there
  // (no best-fit replacement, no "?").
  virtual bool FromUtf8(std::string_view Utf8, std::string& Bytes) const = 0;
};
