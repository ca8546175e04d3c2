// The settings section of one INI file as a SettingsSource: the file is read and parsed at the
// first lookup and kept for the lookups after it, so one load parses the file once however many
// keys it reads. Make a new source for each load to see the file as it is then.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "model/ini_codec.h"
#include "model/settings.h"

class IniFileSource : public SettingsSource {
 public:
  // `load` returns the file's bytes ("" when it is missing or unreadable). `ansi` must outlive
  // the source.
  IniFileSource(std::function<std::string()> load, const AnsiCodePage& ansi)
      : load_(std::move(load)), ansi_(ansi) {}

  std::wstring Read(const std::wstring& key) override { return text().Get(kSettingsSection, key); }
  std::wstring ReadWhole(const std::wstring& key) override {
    return text().Get(kSettingsSection, key, true);
  }

 private:
  const IniText& text() {
    if (!text_) text_ = std::make_unique<IniText>(load_(), ansi_);
    return *text_;
  }
  std::function<std::string()> load_;
  const AnsiCodePage& ansi_;
  std::unique_ptr<IniText> text_;
};
