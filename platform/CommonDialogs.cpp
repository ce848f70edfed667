#include "platform/CommonDialogs.h"

#include <commdlg.h>

#include <cstring>

#include "platform/Controls.h"

bool TColorDialog::Execute(HWND Owner) {
  CHOOSECOLORA Choice{};
  Choice.lStructSize = sizeof Choice;
  Choice.hwndOwner = Owner;
  Choice.rgbResult = ColorToRGB(Color);
  Choice.lpCustColors = CustomColors;
  Choice.Flags = CC_RGBINIT;
  if (!ChooseColorA(&Choice)) return false;
  Color = Choice.rgbResult;
  return true;
}

std::string TOpenPictureDialog::DefaultFilter() {
  static const char Filter[] =
      "All pictures (*.bmp;*.jpg;*.jpeg)\0*.bmp;*.jpg;*.jpeg\0"
      "Bitmaps (*.bmp)\0*.bmp\0"
      "JPEG pictures (*.jpg;*.jpeg)\0*.jpg;*.jpeg\0";
  return std::string(Filter, sizeof Filter);  // with the closing second NUL
}

std::vector<std::string> SplitOpenDialogFiles(const char* Buffer) {
  std::vector<std::string> Parts;
  for (const char* P = Buffer; *P; P += std::strlen(P) + 1) Parts.emplace_back(P);
  if (Parts.size() <= 1) return Parts;
  std::string Folder = Parts.front();
  if (!Folder.empty() && Folder.back() != '\\') Folder += '\\';
  std::vector<std::string> Files;
  for (std::size_t I = 1; I < Parts.size(); ++I) Files.push_back(Folder + Parts[I]);
  return Files;
}

bool TOpenPictureDialog::Execute(HWND Owner) {
  std::vector<char> Buffer(64 * 1024, '\0');
  const std::string Filter = DefaultFilter();
  OPENFILENAMEA Open{};
  Open.lStructSize = sizeof Open;
  Open.hwndOwner = Owner;
  Open.lpstrFilter = Filter.c_str();
  Open.nFilterIndex = 1;
  Open.lpstrFile = Buffer.data();
  Open.nMaxFile = static_cast<DWORD>(Buffer.size());
  Open.lpstrInitialDir = InitialDir.empty() ? nullptr : InitialDir.c_str();
  Open.lpstrTitle = Title.c_str();
  Open.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_ALLOWMULTISELECT | OFN_ENABLESIZING | OFN_FILEMUSTEXIST |
               OFN_PATHMUSTEXIST;
  Files.clear();
  if (!GetOpenFileNameA(&Open)) return false;
  Files = SplitOpenDialogFiles(Buffer.data());
  return !Files.empty();
}
