#include <windows.h>

#include "app/ini_codec.h"
#include "app/ini_file.h"

namespace {

constexpr std::size_t kNameLimit = 128;

std::string toAnsi(const std::wstring& w) {
  if (w.empty()) return {};
  const int n = WideCharToMultiByte(CP_ACP, 0, w.data(), static_cast<int>(w.size()), nullptr, 0,
                                    nullptr, nullptr);
  std::string s(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(CP_ACP, 0, w.data(), static_cast<int>(w.size()), s.data(), n, nullptr,
                      nullptr);
  return s;
}

std::wstring fromAnsi(const std::string& s) {
  if (s.empty()) return {};
  const int n = MultiByteToWideChar(CP_ACP, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
  std::wstring w(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(CP_ACP, 0, s.data(), static_cast<int>(s.size()), w.data(), n);
  return w;
}

class Handle {
 public:
  explicit Handle(HANDLE h) : h_(h) {}
  ~Handle() {
    if (ok()) CloseHandle(h_);
  }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  bool ok() const { return h_ != INVALID_HANDLE_VALUE; }
  HANDLE get() const { return h_; }

 private:
  HANDLE h_;
};

enum class ReadResult { Ok, Missing, Failed };

ReadResult readFile(const std::wstring& path, std::string& bytes) {
  bytes.clear();
  Handle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.ok()) {
    const DWORD e = GetLastError();
    const bool missing = e == ERROR_FILE_NOT_FOUND || e == ERROR_PATH_NOT_FOUND;
    return missing ? ReadResult::Missing : ReadResult::Failed;
  }
  char buf[4096];
  for (;;) {
    DWORD got = 0;
    if (!ReadFile(file.get(), buf, sizeof buf, &got, nullptr)) return ReadResult::Failed;
    if (got == 0) return ReadResult::Ok;
    bytes.append(buf, got);
  }
}

bool writeAll(HANDLE h, const std::string& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    DWORD wrote = 0;
    const DWORD chunk = static_cast<DWORD>(bytes.size() - done);
    if (!WriteFile(h, bytes.data() + done, chunk, &wrote, nullptr) || wrote == 0) return false;
    done += wrote;
  }
  return FlushFileBuffers(h) != 0;
}

std::wstring folderOf(const std::wstring& path) {
  const std::size_t at = path.find_last_of(L"\\/");
  if (at == std::wstring::npos) return L".";
  if (at == 0 || path[at - 1] == L':') return path.substr(0, at + 1);  // a root keeps its "\"
  return path.substr(0, at);
}

}  // namespace

std::wstring ReadIni(const std::wstring& section, const std::wstring& key,
                     const std::wstring& path) {
  std::string bytes;
  if (readFile(path, bytes) != ReadResult::Ok) return {};
  return fromAnsi(IniGet(bytes, toAnsi(section), toAnsi(key)));
}

bool WriteIni(const std::wstring& section, const std::wstring& key, const std::wstring& value,
              const std::wstring& path) {
  // A replace by rename would pass over the read-only mark that a direct write respects.
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) return false;
  std::string old;
  // Writing over a file we could not read would lose its other settings.
  if (readFile(path, old) == ReadResult::Failed) return false;
  const std::string text = IniSet(old, toAnsi(section.substr(0, kNameLimit)),
                                  toAnsi(key.substr(0, kNameLimit)), toAnsi(value));

  // The new content goes to a file beside the old one, which it then replaces in one step:
  // a full disk or a crash midway leaves the old settings as they were.
  wchar_t temp[MAX_PATH];
  if (!GetTempFileNameW(folderOf(path).c_str(), L"tsr", 0, temp)) return false;
  bool written = false;
  {
    Handle file(CreateFileW(temp, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                            nullptr));
    written = file.ok() && writeAll(file.get(), text);
  }
  if (written &&
      MoveFileExW(temp, path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    return true;
  }
  DeleteFileW(temp);
  return false;
}

bool FileCanOpen(const std::wstring& path) {
  const bool ok = Handle(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                     nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr))
                      .ok();
  SetLastError(ERROR_SUCCESS);  // the failed open is an answer, not an error to pass on
  return ok;
}
