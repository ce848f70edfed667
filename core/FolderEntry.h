#pragma once
// Folder entries of a group file: a line that ends with a backslash
// ("D:\Photos\") stands for every picture under that folder, subfolders
// included. Any other line names one picture file, as it always has. A folder
// entry names no file, so a reader that knows only file lines drops it as it
// drops any line naming no existing file. Portable.
//
// Only a backslash marks a folder entry, not a slash: the program writes
// every path with backslashes, so one spelling lets every reader (the index,
// the dialog, the saver) recognise an entry the same way, and a line ending
// in "/", which has always been read as a file line naming nothing, keeps
// that meaning.
#include <string>
#include <string_view>

// Whether a group file line is a folder entry: it ends with "\".
bool IsFolderEntry(std::string_view Entry);

// The folder a folder entry names, as listings and look-ups take it: without
// its trailing backslashes, except where the folder is a root that Windows
// names only with one: a drive root ("D:\"), the root of the current drive
// ("\"), a share ("\\server\share\") and their "\\?\" and "\\.\" forms.
// "D:\Photos\" gives "D:\Photos", "D:\Photos\\" too, "D:\" gives "D:\".
std::string FolderEntryPath(std::string_view Entry);

// The path of Name inside Folder (as FolderEntryPath gives it): one backslash
// between them, none added when Folder already ends with one ("D:\" and
// "a.jpg" give "D:\a.jpg"). ChildPath(Folder, "*") is the folder's listing
// pattern.
std::string ChildPath(std::string_view Folder, std::string_view Name);

// The folder entry that the dialog's "Add Folder" adds for the text of its
// Directory field: a last component holding "*" or "?" (a file mask such as
// "*.*" or "*.jpg") is dropped, slashes become backslashes (except in a
// "\\?\" path, where a slash is part of a name), and the entry ends with
// exactly one backslash. "C:\Photos\*.*" and "C:\Photos" give "C:\Photos\",
// "C:\" gives "C:\", "C:*.*" gives "C:\". Empty when nothing is left to add
// ("" or a mask alone). The text is not made absolute here: a relative field
// is the caller's to resolve first.
std::string FolderEntryFromField(std::string_view DirectoryField);
