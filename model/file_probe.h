// What the alarms ask of the file system when one rings: whether its sound file is there, and
// how the file begins. The disk answers on Windows (file_probe_win.cpp); unit tests fake it.
#pragma once

#include <cstddef>
#include <string>
#include <utility>

class AlarmHost {
 public:
  virtual ~AlarmHost() = default;
  virtual bool FileExists(const std::wstring& path) = 0;
  // Up to `count` bytes from the start of the file, opened by its Unicode name; false when it
  // cannot be opened or read.
  virtual bool ReadStart(const std::wstring& path, std::size_t count, std::string& bytes) = 0;
  // The path as the sound player and MCI take it: a path longer than they accept becomes its
  // short form where the file system has one (else it stays, fails to play, and the chime rings).
  virtual std::wstring PlayablePath(const std::wstring& path) { return path; }
};

// The real disk. A sound file is looked for as the settings' load looks for it (FileExists in
// model/settings.h), through the source of the settings file at `iniPath`, which it never reads.
class DiskFileProbe : public AlarmHost {
 public:
  explicit DiskFileProbe(std::wstring iniPath) : iniPath_(std::move(iniPath)) {}
  bool FileExists(const std::wstring& path) override;
  bool ReadStart(const std::wstring& path, std::size_t count, std::string& bytes) override;
  std::wstring PlayablePath(const std::wstring& path) override;

 private:
  std::wstring iniPath_;
};
