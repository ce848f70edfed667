#pragma once
// The rules that tie a picture file's name to what is done with it, side by
// side: which decoder the slide show gives it, how the dialogs' previews open
// it, and whether a folder load lists it. Portable.
#include <string>

// The extension runs from the last "." to the end when no "\" or ":" follows
// that dot. ExtensionAsWritten returns it without the dot as the name writes
// it, ExtensionOf with the letters A to Z lower-cased; both are empty when
// the name has none.
std::string ExtensionAsWritten(const std::string& FileName);
std::string ExtensionOf(const std::string& FileName);

// The slide show's decoders: .bmp; .jpg and .jpeg.
enum class TPictureFormat { Other, Bmp, Jpeg };
TPictureFormat PictureFormatOf(const std::string& FileName);

// The dialogs' previews: the slide show's two formats, icons and metafiles.
enum class TPreviewKind { Unknown, Bmp, Jpeg, Icon, EnhancedMetafile, WindowsMetafile };
TPreviewKind PreviewKindOf(const std::string& FileName);

// Whether a folder load lists the file: .jpg, .jpeg, .bmp, .ico or .emf.
bool FileInSearchList(const std::string& FileName);
