// How long the settings dialog's OK takes to save: the 27 keys SaveSettings gives, written the
// old way (one WriteIni per key, each a read, parse, write, flush and rename of the whole file)
// against one WriteIniKeys, alternating the two on the same file. Windows only (the file code
// it times is).
//
// Usage: ok_save FOLDER [ROUNDS]   (default 15 rounds). Run FOLDER on the disk to judge: a
// USB stick flushes far slower than a local disk.
// Output: per starting file, the median and best time of each way and the ratio of medians.

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "model/ini_file.h"
#include "settings/save_settings.h"

namespace {

using Clock = std::chrono::steady_clock;

class Recorder : public SettingsWriter {
 public:
  IniEntries keys;
  bool Write(const IniEntries& entries) override {
    keys = entries;
    return true;
  }
};

IniEntries okKeys() {
  DialogValues v;
  v.EditColor = {0, 16777215, 255, 65280, 16711680, 8421504};
  v.GraphColor = {0, 16776960, 4259584, 255};
  v.EditAlarmOn = {1, 0};
  v.EditSoundKind = {2, 1};
  v.HourText = {L"07", L"12"};
  v.MinuteText = {L"00", L"30"};
  v.SoundPath = {L"C:\\Music\\wake up.mp3", L""};
  v.Ival = 30;
  v.Kagen = 30;
  Settings model;
  model.Alarm_Path = L"C:\\Music";
  Recorder r;
  SaveSettings(v, model, r);
  return r.keys;
}

bool writeFile(const std::wstring& path, const std::string& bytes) {
  HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  DWORD wrote = 0;
  const BOOL ok = WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &wrote, nullptr);
  CloseHandle(h);
  return ok && wrote == bytes.size();
}

std::string readFile(const std::wstring& path) {
  HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return {};
  std::string bytes(GetFileSize(h, nullptr), '\0');
  DWORD got = 0;
  ReadFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr);
  CloseHandle(h);
  bytes.resize(got);
  return bytes;
}

double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    std::printf("usage: ok_save FOLDER [ROUNDS]\n");
    return 2;
  }
  // A name of its own, so that FOLDER may hold a real settings file.
  const std::wstring path = std::wstring(argv[1]) + L"\\ok_save_bench.ini";
  const int rounds = argc > 2 ? std::max(1, _wtoi(argv[2])) : 15;
  const IniEntries keys = okKeys();

  const std::string typical = "[Section]\r\nPos_X= 1500\r\nPos_Y= 750\r\nTopMost= 0\r\n";
  std::string large = typical + "[Notes]\r\n";
  for (int n = 0; n < 40000; ++n) large += "line" + std::to_string(n) + "=note\r\n";
  const struct {
    const char* name;
    std::string bytes;
  } files[] = {{"settings file (position only)", typical}, {"with 1 MB of other lines", large}};

  std::printf("%-30s %10s %10s %10s %10s %7s\n", "starting file", "27 writes", "best",
              "one write", "best", "ratio");
  for (const auto& f : files) {
    std::vector<double> before, after;
    std::string saved[2];
    for (int r = 0; r < rounds; ++r) {
      for (int way = 0; way < 2; ++way) {
        if (!writeFile(path, f.bytes)) {
          std::printf("cannot write %ls\n", path.c_str());
          return 1;
        }
        const auto start = Clock::now();
        bool ok = true;
        if (way == 0) {
          for (const auto& [key, value] : keys) {
            ok = WriteIni(kSettingsSection, key, value, path) && ok;
          }
        } else {
          ok = WriteIniKeys(kSettingsSection, keys, path);
        }
        const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        if (!ok) {
          std::printf("save failed\n");
          return 1;
        }
        (way == 0 ? before : after).push_back(ms);
        if (r == 0) saved[way] = readFile(path);
      }
    }
    if (saved[0] != saved[1]) {
      std::printf("the two ways saved different bytes\n");
      return 1;
    }
    std::printf("%-30s %7.1f ms %7.1f ms %7.1f ms %7.1f ms %6.1fx\n", f.name, median(before),
                *std::min_element(before.begin(), before.end()), median(after),
                *std::min_element(after.begin(), after.end()), median(before) / median(after));
  }
  DeleteFileW(path.c_str());
  return 0;
}
