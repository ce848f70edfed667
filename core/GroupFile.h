#pragma once
// The text form of a group file: one picture path per line. Portable.
#include <string>
#include <string_view>
#include <vector>

#include "core/CodePage.h"

// Reads the entries of a group file: LF ends a line; CR bytes are never part
// of an entry; byte 26 ends the data; a last line without a line end is still
// an entry, and a line end at the very end adds no empty one. Empty lines are
// empty entries.
std::vector<std::string> ParseGroupFile(const std::string& Data);

// Calls Visit(const std::string&) with each entry that ParseGroupFile would
// return, in order, without holding more than one entry at a time, so a
// large file costs its own size and not a string object per line.
template <typename F>
void ForEachGroupEntry(std::string_view Data, F&& Visit) {
  std::string Line;
  bool LineOpen = false;
  for (const char C : Data) {
    if (C == '\x1A') break;
    if (C == '\n') {
      Visit(static_cast<const std::string&>(Line));
      Line.clear();
      LineOpen = false;
    } else {
      LineOpen = true;
      if (C != '\r') Line += C;
    }
  }
  if (LineOpen) Visit(static_cast<const std::string&>(Line));
}

// Writes entries one per line, each followed by CR LF.
std::string FormatGroupFile(const std::vector<std::string>& Entries);

// How a group file's bytes are read. UTF-8 when they start with the UTF-8
// byte-order mark (EF BB BF, which is not part of the first entry), or when
// they are valid UTF-8 holding non-ASCII bytes; else the ANSI code page, as
// files written before were (an ASCII file reads the same either way). Only
// the data counts: bytes after a byte 26 are not looked at.
enum class TGroupFileEncoding { Ansi, Utf8, Utf8WithMark };
TGroupFileEncoding GroupFileEncoding(std::string_view Data);

// The UTF-8 form of one entry of a file in Encoding: Entry itself when it is
// that already, else Scratch, filled with it: converted from the code page,
// or, in a UTF-8 file, with each invalid sequence replaced by U+FFFD (never
// dropped).
const std::string& GroupEntryAsUtf8(const std::string& Entry, TGroupFileEncoding Encoding, const TCodePage& CodePage,
                                    std::string& Scratch);

// Calls Visit(const std::string&) with each entry of Data in UTF-8, by the
// line rules of ForEachGroupEntry and the encoding GroupFileEncoding finds.
// The lines are split on the raw bytes, which is safe in UTF-8 and in the ANSI
// code pages Windows uses (no trail byte is CR, LF or 26), and each entry is
// then converted alone: the file still costs its own size, not a string per
// line.
template <typename F>
void ForEachGroupEntryAsUtf8(std::string_view Data, const TCodePage& CodePage, F&& Visit) {
  const TGroupFileEncoding Encoding = GroupFileEncoding(Data);
  if (Encoding == TGroupFileEncoding::Utf8WithMark) Data.remove_prefix(3);
  std::string Scratch;
  ForEachGroupEntry(Data, [&](const std::string& Entry) { Visit(GroupEntryAsUtf8(Entry, Encoding, CodePage, Scratch)); });
}

// The bytes of a group file listing Entries (UTF-8), one per line with CR LF:
// in the ANSI code page when every entry has an exact form there (so that
// older readers keep working), else UTF-8 after the mark. A name is never
// replaced by "?". The ANSI form is also given up for the mark when its bytes
// would read back as UTF-8 ("Ã©" is C3 A9 in Windows-1252, which is "é" in
// UTF-8), so every file written reads back as the entries it was written
// from.
std::string FormatGroupFile(const std::vector<std::string>& Entries, const TCodePage& CodePage);

// Whether a group name keeps its file inside the "Image Data" folder: no
// "\", "/" or ":" and not "." or "..". The empty name is allowed.
bool IsSafeGroupName(const std::string& Name);

// Whether a new group may take the name: its file name must be one that
// Windows can create. Besides what IsSafeGroupName refuses, no < > " | ? *
// and no control characters, and no device name (CON, PRN, AUX, NUL, COM1 to
// COM9, LPT1 to LPT9, in any case, with or without an extension). A dot or a
// blank at the end is allowed: the file name ends in ".dat" after it. The
// empty name is allowed.
bool IsValidGroupName(const std::string& Name);
