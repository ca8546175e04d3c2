#include <windows.h>

#include "model/ini_codec.h"
#include "model/ini_file.h"
#include "model/settings_disk.h"

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
  char buf[1 << 16];
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

// The file a save must replace: the target when `path` is a link, so that the link stays a link
// and its target gets the new content; `path` itself when it does not resolve (a new file).
std::wstring replaceTarget(const std::wstring& path) {
  Handle file(CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                          nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!file.ok()) return path;
  std::wstring final(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetFinalPathNameByHandleW(file.get(), final.data(),
                                              static_cast<DWORD>(final.size()), FILE_NAME_NORMALIZED);
    if (n == 0) return path;
    if (n < final.size()) {
      final.resize(n);
      return final;
    }
    final.resize(n);
  }
}

// The one temporary name a save of `target` uses: the next save writes over a leftover, and the
// next start removes it.
std::wstring tempFor(const std::wstring& target) { return target + L".tmp"; }

// Under Wine, ReplaceFileW moves the old file away before it moves the new one in: a kill
// between the two would leave no settings file at all.
bool replaceIsTwoSteps() {
  static const bool wine =
      GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
  return wine;
}

// What ReplaceFileW would carry over, short of the security descriptor: Wine maps that to Unix
// permission bits and back unfaithfully (0600 comes back as 0770), so there a new file keeps
// the permissions the system gives it.
void takeAttributes(const std::wstring& target, const std::wstring& temp, DWORD attributes) {
  {
    Handle from(CreateFileW(target.c_str(), FILE_READ_ATTRIBUTES,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, 0, nullptr));
    Handle to(CreateFileW(temp.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    FILETIME created;
    if (from.ok() && to.ok() && GetFileTime(from.get(), &created, nullptr, nullptr)) {
      SetFileTime(to.get(), &created, nullptr, nullptr);
    }
  }
  const DWORD kept = attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                   FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED);
  SetFileAttributesW(temp.c_str(), kept ? kept : FILE_ATTRIBUTE_NORMAL);
}

class WindowsCodePage : public AnsiCodePage {
 public:
  bool IsLeadByte(unsigned char c) const override { return IsDBCSLeadByte(c) != 0; }
  std::string Encode(const std::wstring& text) const override { return toAnsi(text); }
  std::wstring Decode(const std::string& bytes) const override { return fromAnsi(bytes); }
};

std::string fileBytes(const std::wstring& path) {
  std::string bytes;
  if (readFile(path, bytes) != ReadResult::Ok) bytes.clear();
  return bytes;
}

}  // namespace

const AnsiCodePage& SystemCodePage() {
  static const WindowsCodePage codePage;
  return codePage;
}

std::wstring ReadIni(const std::wstring& section, const std::wstring& key,
                     const std::wstring& path) {
  return IniText(fileBytes(path), SystemCodePage()).Get(section, key);
}

IniSettingsSource::IniSettingsSource(std::wstring iniPath)
    : IniFileSource([path = std::move(iniPath)] { return fileBytes(path); }, SystemCodePage()) {}

bool WriteIni(const std::wstring& section, const std::wstring& key, const std::wstring& value,
              const std::wstring& path) {
  return WriteIniKeys(section, {{key, value}}, path);
}

bool WriteIniKeys(const std::wstring& section, const IniEntries& entries,
                  const std::wstring& path) {
  const std::wstring target = replaceTarget(path);
  const DWORD attributes = GetFileAttributesW(target.c_str());
  const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
  // A replace would pass over the read-only mark that a direct write respects.
  if (exists && (attributes & FILE_ATTRIBUTE_READONLY)) return false;
  std::string old;
  // Writing over a file we could not read would lose its other settings.
  if (readFile(target, old) == ReadResult::Failed) return false;
  IniText text(std::move(old), SystemCodePage());
  IniEntries cut;
  cut.reserve(entries.size());
  for (const auto& [key, value] : entries) cut.emplace_back(key.substr(0, kNameLimit), value);
  text.Set(section.substr(0, kNameLimit), cut);

  // The new content goes to a file beside the old one, which it then replaces in one step:
  // a full disk or a crash midway leaves the old settings as they were.
  const std::wstring temp = tempFor(target);
  bool written = false;
  {
    Handle file(CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
    written = file.ok() && writeAll(file.get(), text.Bytes());
  }
  // ReplaceFileW gives the new file the old one's attributes, security and creation time and
  // swaps them by one rename; where it takes two steps, we carry what we can and rename.
  bool replaced = false;
  if (written && exists && !replaceIsTwoSteps()) {
    replaced = ReplaceFileW(target.c_str(), temp.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS,
                            nullptr, nullptr) != 0;
  } else if (written && exists) {
    takeAttributes(target, temp, attributes);
  }
  replaced = replaced || (written && MoveFileExW(temp.c_str(), target.c_str(),
                                                 MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH));
  if (!replaced) DeleteFileW(temp.c_str());
  return replaced;
}

void RemoveUnfinishedSave(const std::wstring& path) {
  const std::wstring target = replaceTarget(path);
  DeleteFileW(tempFor(target).c_str());
  if (target != path) DeleteFileW(tempFor(path).c_str());
}

std::wstring ExtendedPath(const std::wstring& path) {
  if (path.size() < MAX_PATH || path.rfind(L"\\\\?\\", 0) == 0) return path;
  if (path.size() > 2 && path[1] == L':' && path[2] == L'\\') return L"\\\\?\\" + path;
  if (path.rfind(L"\\\\", 0) == 0) return L"\\\\?\\UNC\\" + path.substr(2);
  return path;
}

bool FileCanOpen(const std::wstring& path) {
  const bool ok = Handle(CreateFileW(ExtendedPath(path).c_str(), GENERIC_READ,
                                     FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                     FILE_ATTRIBUTE_NORMAL, nullptr))
                      .ok();
  SetLastError(ERROR_SUCCESS);  // the failed open is an answer, not an error to pass on
  return ok;
}

namespace {

class DiskSettingsFile : public SettingsFile {
 public:
  explicit DiskSettingsFile(std::wstring path) : path_(std::move(path)) {}
  std::string Bytes() override { return fileBytes(path_); }
  const AnsiCodePage& CodePage() override { return SystemCodePage(); }
  bool CanOpen(const std::wstring& path) override { return FileCanOpen(path); }
  bool Write(const IniEntries& entries) override {
    return WriteIniKeys(kSettingsSection, entries, path_);
  }
  const std::wstring& Path() const override { return path_; }

 private:
  std::wstring path_;
};

}  // namespace

std::unique_ptr<SettingsFile> OpenSettingsFile(const std::wstring& path) {
  RemoveUnfinishedSave(path);
  return std::make_unique<DiskSettingsFile>(path);
}
