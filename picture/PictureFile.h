#pragma once
// The picture loader of the dialogs' previews: it chooses the reader by the
// file's extension, as the table of picture kinds says, and,
// unlike the slide show's loader, refuses what it cannot show: an unknown
// extension, a missing or unreadable file and damaged picture data each raise
// an error whose text the user sees.
#include <windows.h>

#include <memory>
#include <string>

#include "core/Errors.h"

// A picture file that is not of a kind the loader knows or whose data is
// damaged.
struct EInvalidGraphic : EError {
  explicit EInvalidGraphic(const std::string& Message) : EError(Message, "EInvalidGraphic") {}
};

class TPictureFile {
 public:
  // Opens the picture far enough to know its size. Raises EInvalidGraphic
  // ("Unknown picture file extension (.gif)", damaged data) or EInOutError.
  explicit TPictureFile(const std::string& Path);
  ~TPictureFile();
  TPictureFile(const TPictureFile&) = delete;
  TPictureFile& operator=(const TPictureFile&) = delete;

  // The picture's own size in pixels (a metafile's at the screen's
  // resolution).
  int Width() const;
  int Height() const;
  // The whole picture drawn into Width x Height, as a bitmap compatible with
  // the screen that the caller owns. Transparent parts (icons, metafiles)
  // show the button-face colour.
  HBITMAP Render(int Width, int Height) const;

  class TSource;  // one kind of picture

 private:
  std::unique_ptr<TSource> Source;
};
