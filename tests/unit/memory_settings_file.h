// A settings file in memory, for the settings store's users: writes go through the codec, as
// on disk, unless it is made read-only.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "model/settings_store.h"
#include "tests/support/test_code_page.h"

class MemoryFile : public SettingsFile {
 public:
  explicit MemoryFile(std::string bytes) : bytes_(std::move(bytes)) {}
  std::string Bytes() override {
    ++reads;
    return bytes_;
  }
  const AnsiCodePage& CodePage() override { return page_; }
  bool CanOpen(const std::wstring& path) override { return files.count(path) > 0; }
  bool Write(const IniEntries& entries) override {
    writes.push_back(entries);
    if (readOnly) return false;
    IniText text(bytes_, page_);
    text.Set(kSettingsSection, entries);
    bytes_ = text.Bytes();
    return true;
  }
  const std::wstring& Path() const override { return path_; }
  std::wstring Value(const std::wstring& key) const {
    return IniText(bytes_, page_).Get(kSettingsSection, key);
  }

  bool readOnly = false;
  int reads = 0;
  std::set<std::wstring> files;
  std::vector<IniEntries> writes;

 private:
  TestCodePage page_;
  std::string bytes_;
  std::wstring path_ = L"C:\\Tessarine\\Tessarine.ini";
};

