#include <gtest/gtest.h>

#include <set>
#include <utility>
#include <vector>

#include "model/app_state.h"

namespace {

const std::wstring kProgramDir = L"C:\\Program Files\\Tessarine";
const std::wstring kBeside = L"C:\\Program Files\\Tessarine\\Tessarine.ini";
const std::wstring kAppData = L"C:\\Users\\u\\AppData\\Roaming";
const std::wstring kOwn = L"C:\\Users\\u\\AppData\\Roaming\\Tessarine\\Tessarine.ini";

struct FakeFolders : SettingsFolders {
  std::set<std::wstring> files, writable;
  std::wstring userData = kAppData;
  std::vector<std::wstring> made;
  std::vector<std::pair<std::wstring, std::wstring>> copies;

  bool CanWrite(const std::wstring& path) override { return writable.count(path) > 0; }
  bool Exists(const std::wstring& path) override { return files.count(path) > 0; }
  std::wstring UserDataFolder() override { return userData; }
  bool MakeFolder(const std::wstring& dir) override {
    made.push_back(dir);
    return true;
  }
  bool Copy(const std::wstring& from, const std::wstring& to) override {
    copies.emplace_back(from, to);
    files.insert(to);
    return true;
  }
};

TEST(ChooseIniPath, BesideTheProgramWheneverItCanBeWritten) {
  struct Case {
    const char* name;
    std::set<std::wstring> files, writable;
    std::wstring userData;
    std::wstring path;
    bool copied, unwritable;
  };
  const Case cases[] = {
      {"portable: beside the program", {kBeside}, {kBeside, kOwn}, kAppData, kBeside, false,
       false},
      {"read-only folder, first start: a copy of its file", {kBeside}, {kOwn}, kAppData, kOwn,
       true, false},
      {"read-only folder, later start: the user's file as it is", {kBeside, kOwn}, {kOwn},
       kAppData, kOwn, false, false},
      {"the folder writable again: still the user's file", {kBeside, kOwn}, {kBeside, kOwn},
       kAppData, kOwn, false, false},
      {"read-only folder without a file: a new file of the user's", {}, {kOwn}, kAppData, kOwn,
       false, false},
      {"neither can be written: the program's, and the user is told", {kBeside}, {}, kAppData,
       kBeside, true, true},
      {"no folder of the user's", {kBeside}, {kOwn}, L"", kBeside, false, true},
      {"read-only folder, the user's file read-only too: still the user's", {kBeside, kOwn},
       {}, kAppData, kOwn, false, true},
  };
  for (const auto& c : cases) {
    FakeFolders f;
    f.files = c.files;
    f.writable = c.writable;
    f.userData = c.userData;
    const IniChoice choice = ChooseIniPath(kProgramDir, f);
    EXPECT_EQ(choice.path, c.path) << c.name;
    EXPECT_EQ(choice.unwritable, c.unwritable) << c.name;
    std::vector<std::pair<std::wstring, std::wstring>> copies;
    if (c.copied) copies.emplace_back(kBeside, kOwn);
    EXPECT_EQ(f.copies, copies) << c.name;
  }
}

}  // namespace
