#pragma once
// The one table of picture kinds: for each kind of picture file, its
// extensions, who reads it, whether a folder load lists it and how the
// open-picture dialog's filter names it. The saver, the previews, the folder
// load and the open-picture dialog all ask this table, so they cannot
// disagree. Portable.
#include <string>
#include <vector>

// The extension runs from the last "." to the end when no "\" or ":" follows
// that dot. ExtensionAsWritten returns it without the dot as the name writes
// it, ExtensionOf with the letters A to Z lower-cased; both are empty when
// the name has none.
std::string ExtensionAsWritten(const std::string& FileName);
std::string ExtensionOf(const std::string& FileName);

// Who reads a kind of picture file.
enum class TPictureReader {
  None,      // not a picture file this program reads
  Bmp,       // the program's own BMP reader
  Jpeg,      // the program's own JPEG decoder
  Wic,       // the Windows Imaging Component, through its installed decoders
  Metafile,  // the metafile player of Windows (EMF, placeable WMF)
};

struct TPictureKind {
  std::string Name;                     // for the dialog's filter: "PNG pictures"
  std::vector<std::string> Extensions;  // lower case, without the dot
  TPictureReader Reader = TPictureReader::None;
  bool ListedByLoad = true;             // a folder load lists files of the kind
  std::string Invalid;                  // what the previews say of a damaged file
};

class TPictureKinds {
 public:
  // The kinds that every Windows reads (BMP and JPEG by the program itself;
  // PNG, GIF, TIFF and icons through WIC; EMF and WMF through the metafile
  // player), and one kind more for the extensions of the installed WIC
  // decoders ("webp", ".HEIC": any case, with or without the dot) that none of
  // those has.
  explicit TPictureKinds(const std::vector<std::string>& DecoderExtensions = {});

  const std::vector<TPictureKind>& Kinds() const { return Table; }
  // The kind of a file, by its extension; nullptr when it is none of them.
  const TPictureKind* KindOf(const std::string& FileName) const;
  TPictureReader ReaderOf(const std::string& FileName) const;
  bool ListedByLoad(const std::string& FileName) const;
  // The open-picture dialog's filter: "All pictures" of every kind, then one
  // entry per kind, each as name NUL pattern NUL, the list ending in a second
  // NUL (the returned string holds the NULs).
  std::string DialogFilter() const;

 private:
  std::vector<TPictureKind> Table;
};
