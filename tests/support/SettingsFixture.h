#pragma once
// A clean slate for settings tests: the settings key and the two Run values
// are deleted before each test, and each test gets an empty scratch folder
// that it may name as "Install Dir".
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "picture/GroupPictures.h"
#include "platform/Registry.h"
#include "settings/Settings.h"

std::string FileContent(const std::string& Path);
std::vector<std::string> FolderListing(const std::string& Folder);
// Removes a folder with everything in it (names in any script, paths of any
// length); a folder reached through a link is not entered.
void DeleteTree(const std::string& Folder);

class TSettingsTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  static TRegistryKey SettingsKey() { return TRegistryKey::OpenOrCreate(SettingsKeyPath); }
  // Writes raw bytes as a value of any type.
  static void WriteRaw(const std::string& Name, DWORD Type, const std::string& Bytes);
  static std::string ReadRaw(const TRegistryKey& Key, const std::string& Name, DWORD& Type);
  // Points "Install Dir" at the scratch folder.
  void UseScratchInstallDir() const;
  // Installs in the scratch folder with one stored group, Group, named by
  // the setting GroupSetting ("Selected Group", "WallPaper Group").
  void UseScratchGroup(const char* GroupSetting, const std::string& Group) const;
  // Creates a file in the scratch folder and returns its path.
  std::string MakeFile(const std::string& Name, const std::string& Content = "picture") const;
  // Writes a group file of the scratch install folder byte for byte.
  void WriteGroupFile(const std::string& Group, const std::string& Bytes) const;
  std::string GroupFile(const std::string& Group) const { return Scratch + "\\Image Data\\" + Group + ".dat"; }

  // The next picture of Settings' group, as the show takes it: one
  // TGroupPictures per settings object, its index in the scratch folder.
  std::string NextPicture(TSettings& Settings, const std::function<void()>& BeginPass = nullptr);

  std::string Scratch;  // no trailing backslash

 private:
  const TSettings* PicturesOf = nullptr;
  std::unique_ptr<TGroupPictures> Pictures;
};

// Removes the sample picture beside the test program for the lifetime of the
// object, or puts one there (Present true); restores what was there after.
class TSamplePicture {
 public:
  explicit TSamplePicture(bool Present);
  ~TSamplePicture();

 private:
  std::string Path, Saved;
  bool Existed = false;
};
