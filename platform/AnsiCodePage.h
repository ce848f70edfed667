#pragma once
// The system's ANSI code page (CP_ACP), in which group files written before
// names could be in any script hold their text.
#include "core/CodePage.h"

class TAnsiCodePage : public TCodePage {
 public:
  std::string ToUtf8(std::string_view Bytes) const override;
  bool FromUtf8(std::string_view Utf8, std::string& Bytes) const override;
};

// The one instance; it holds no state.
const TCodePage& AnsiCodePage();
