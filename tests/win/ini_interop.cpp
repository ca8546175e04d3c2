// Checks the settings file code against the platform's own profile functions, both ways:
// what WriteIni writes must read back through GetPrivateProfileStringW, and what
// WritePrivateProfileStringW writes must read back through ReadIni.
// Usage: ini_interop.exe FOLDER   (exit code 0 when every check passes)
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "model/ini_file.h"

namespace {

int failures = 0;

std::string narrow(const std::wstring& w) {
  const int n = WideCharToMultiByte(CP_UTF8, 0, w.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string s(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, w.c_str(), -1, s.data(), n, nullptr, nullptr);
  s.resize(s.empty() ? 0 : s.size() - 1);
  return s;
}

void check(bool ok, const std::string& what, const std::string& note = "") {
  std::printf("%s %s%s\n", ok ? "PASS" : "FAIL", what.c_str(), note.c_str());
  if (!ok) ++failures;
}

std::wstring trimLeft(const std::wstring& s) {
  const std::size_t b = s.find_first_not_of(L" \t");
  return b == std::wstring::npos ? L"" : s.substr(b);
}

std::wstring platformRead(const std::wstring& section, const std::wstring& key,
                          const std::wstring& path) {
  wchar_t buf[256] = {};
  GetPrivateProfileStringW(section.c_str(), key.c_str(), L"", buf, 256, path.c_str());
  return buf;
}

bool writeBytes(const std::wstring& path, const std::string& bytes) {
  HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  DWORD wrote = 0;
  const BOOL ok = WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &wrote, nullptr);
  CloseHandle(h);
  return ok && wrote == bytes.size();
}

std::string readBytes(const std::wstring& path) {
  HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return {};
  std::string bytes(1 << 16, '\0');
  DWORD got = 0;
  ReadFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr);
  CloseHandle(h);
  bytes.resize(got);
  return bytes;
}

std::string ansi(const std::wstring& w) {
  const int n = WideCharToMultiByte(CP_ACP, 0, w.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string s(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(CP_ACP, 0, w.c_str(), -1, s.data(), n, nullptr, nullptr);
  s.resize(s.empty() ? 0 : s.size() - 1);
  return s;
}

int countTempFiles(const std::wstring& folder) {
  WIN32_FIND_DATAW fd;
  HANDLE h = FindFirstFileW((folder + L"\\*.tmp").c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return 0;
  int n = 0;
  do ++n;
  while (FindNextFileW(h, &fd));
  FindClose(h);
  return n;
}

struct Entry {
  std::wstring section, key, value;
};

const std::wstring kJapanese = L"C:\\\u97f3\u697d\\\u76ee\u899a\u307e\u3057 1.wav";  // 音楽\目覚まし 1.wav

void oursToPlatform(const std::wstring& folder) {
  const std::wstring path = folder + L"\\ours.ini";
  DeleteFileW(path.c_str());
  check(writeBytes(path, "; kept comment\r\n[Section]\r\nColor_0=1\r\n; inner comment\r\n\r\n"
                         "[Other]\r\nX=1\r\n"),
        "prepare ours.ini");

  const std::vector<Entry> entries = {
      {L"Section", L"Shape", L" 0"},        {L"Section", L"TopMost", L"-1"},
      {L"Section", L"Pos_X", L" 1500"},     {L"Section", L"Color_0", L" 16777215"},
      {L"Section", L"Sound_F_0", kJapanese}, {L"Added", L"Key", L"value"},
  };
  for (const Entry& e : entries) {
    check(WriteIni(e.section, e.key, e.value, path), "WriteIni " + narrow(e.key));
  }
  for (const Entry& e : entries) {
    const std::wstring got = platformRead(e.section, e.key, path);
    const bool blank = e.value != trimLeft(e.value);
    check(got == trimLeft(e.value),
          "platform reads " + narrow(e.key) + " = [" + narrow(got) + "]",
          blank ? " (the platform trims our leading blank, as expected)" : "");
    check(ReadIni(e.section, e.key, path) == trimLeft(e.value), "ReadIni reads " + narrow(e.key));
  }

  const std::string bytes = readBytes(path);
  check(bytes.rfind("; kept comment\r\n[Section]\r\nColor_0= 16777215\r\n; inner comment\r\n"
                    "Shape= 0\r\nTopMost=-1\r\nPos_X= 1500\r\n",
                    0) == 0,
        "file keeps comments, replaces in place, appends inside the section");
  check(bytes.find("Sound_F_0=" + ansi(kJapanese) + "\r\n\r\n[Other]\r\nX=1\r\n[Added]\r\n"
                   "Key=value\r\n") != std::string::npos,
        "value in the ANSI code page, new section at the end");
  check(countTempFiles(folder) == 0, "no temporary file left");

  // A failed write leaves the old file as it was and no temporary file behind.
  SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY);
  const bool wrote = WriteIni(L"Section", L"Shape", L" 2", path);
  SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  check(!wrote && readBytes(path) == bytes, "write to a read-only file fails, file unchanged");
  check(!WriteIni(L"Section", L"Shape", L" 2", folder + L"\\no such folder\\x.ini"),
        "write into a missing folder fails");
  check(countTempFiles(folder) == 0, "no temporary file left after failures");
}

void platformToOurs(const std::wstring& folder) {
  const std::wstring path = folder + L"\\theirs.ini";
  DeleteFileW(path.c_str());
  const std::vector<Entry> entries = {
      {L"Section", L"Shape", L"2"},          {L"Section", L"Pos_Y", L"-300"},
      {L"Section", L"Filter_Color", L" 16776960"}, {L"Section", L"Sound_F_1", kJapanese},
      {L"Section", L"Alarm_Path", L"\"D:\\My Music\""}, {L"Other", L"Shape", L"1"},
  };
  for (const Entry& e : entries) {
    WritePrivateProfileStringW(e.section.c_str(), e.key.c_str(), e.value.c_str(), path.c_str());
  }
  WritePrivateProfileStringW(nullptr, nullptr, nullptr, path.c_str());  // flush the cache
  for (const Entry& e : entries) {
    const std::wstring got = ReadIni(e.section, e.key, path);
    const std::wstring platform = platformRead(e.section, e.key, path);
    check(got == platform, "ReadIni reads " + narrow(e.key) + " = [" + narrow(got) + "] like the platform");
  }
  check(ReadIni(L"section", L"SHAPE", path) == L"2", "ReadIni matches without regard to case");
  check(ReadIni(L"Section", L"Missing", path).empty(), "missing key reads empty");
  check(ReadIni(L"Section", L"Shape", folder + L"\\missing.ini").empty(), "missing file reads empty");
}


std::string utf16le(const std::wstring& w) {
  std::string out;
  for (wchar_t c : w) {
    out += static_cast<char>(c & 0xFF);
    out += static_cast<char>((c >> 8) & 0xFF);
  }
  return out;
}

// Files in the encodings and line ends that editors save: our writer keeps each one (an ANSI
// one turns UTF-16LE for a value its code page lacks), and the platform reads what we wrote;
// the platform writes into each one, and we read what it wrote.
void unicodeAndLineEnds(const std::wstring& folder) {
  struct Kind {
    const char* name;
    std::string start;  // a settings file holding Color_1 = 65535 and a comment
    std::string kept;   // how that text starts the file after our writes
    std::string ownLineEnd, foreignEnd;  // how the file's lines end, and a sign of another
  } kinds[] = {
      {"UTF-16LE", "\xFF\xFE" + utf16le(L"; note\r\n[Section]\r\nColor_1=65535\r\n"), "",
       utf16le(L"\r\n"), "\r\n"},
      {"UTF-8 mark", "\xEF\xBB\xBF; note\r\n[Section]\r\nColor_1=65535\r\n", "", "\r\n", "\n\n"},
      {"CR alone", "; note\r[Section]\rColor_1=65535\r",
       "\xFF\xFE" + utf16le(L"; note\r[Section]\rColor_1=65535\r"), utf16le(L"\r"), "\n"},
  };
  const std::vector<Entry> entries = {
      {L"Section", L"Pos_X", L"-300"}, {L"Section", L"Sound_F_0", kJapanese},
      {L"Section", L"Alarm_Path", L"C:\\\u266b \u00e9t\u00e9"},  // ♫ été: no ANSI form in 932
      {L"Added", L"Key", L"v"},
  };
  for (const Kind& kind : kinds) {
    const std::string name = kind.name;
    const bool ansi = name == "CR alone";
    const std::wstring ours = folder + L"\\unicode-ours.ini";
    check(writeBytes(ours, kind.start), "prepare " + name);
    check(platformRead(L"Section", L"Color_1", ours) == L"65535" &&
              ReadIni(L"Section", L"Color_1", ours) == L"65535",
          name + ": platform and ReadIni read the editor's file");
    for (const Entry& e : entries) WriteIni(e.section, e.key, e.value, ours);
    const std::string bytes = readBytes(ours);
    const std::string kept = kind.kept.empty() ? kind.start : kind.kept;
    check(bytes.rfind(kept, 0) == 0, name + ": what was there stays, byte for byte or converted");
    const std::string ownEnd = kind.ownLineEnd;
    check(bytes.size() >= ownEnd.size() && bytes.compare(bytes.size() - ownEnd.size(),
                                                         ownEnd.size(), ownEnd) == 0 &&
              (name == "UTF-16LE" || bytes.find(kind.foreignEnd) == std::string::npos),
          name + ": new lines end as the file's own do");
    if (name != "UTF-8 mark") {
      check(bytes.find("Pos_X") == std::string::npos, name + ": nothing written in ANSI");
    }
    for (const Entry& e : entries) {
      const std::wstring got = platformRead(e.section, e.key, ours);
      check(got == e.value, name + ": platform reads our " + narrow(e.key) + " = [" + narrow(got) + "]");
    }

    const std::wstring theirs = folder + L"\\unicode-theirs.ini";
    check(writeBytes(theirs, kind.start), "prepare " + name + " for the platform");
    for (const Entry& e : entries) {
      WritePrivateProfileStringW(e.section.c_str(), e.key.c_str(), e.value.c_str(), theirs.c_str());
    }
    WritePrivateProfileStringW(nullptr, nullptr, nullptr, theirs.c_str());  // flush the cache
    for (const Entry& e : entries) {
      if (ansi && e.key == L"Alarm_Path") continue;  // the platform writes it in ANSI, lossily
      const std::wstring got = ReadIni(e.section, e.key, theirs);
      check(got == e.value, name + ": ReadIni reads the platform's " + narrow(e.key) + " = [" +
                                narrow(got) + "]");
    }
  }
}

// A save uses one temporary name, beside the file: a leftover from a killed save is written
// over by the next save and removed at the next start; no other file is touched.
void temporaryFile(const std::wstring& folder) {
  const std::wstring sub = folder + L"\\temp rule";
  CreateDirectoryW(sub.c_str(), nullptr);
  const std::wstring path = sub + L"\\Tessarine.ini";
  const std::wstring leftover = path + L".tmp";
  const std::vector<std::wstring> others = {sub + L"\\tsr1A2B.tmp", sub + L"\\Tessarine.ini.tmp2",
                                            sub + L"\\Tessarine.tmp"};
  for (const std::wstring& other : others) writeBytes(other, "not ours");
  check(writeBytes(path, "[Section]\r\nShape=1\r\n") &&
            writeBytes(leftover, std::string(100000, 'x')),
        "prepare a leftover temporary file");
  check(WriteIni(L"Section", L"Shape", L" 2", path) && ReadIni(L"Section", L"Shape", path) == L"2",
        "a save over a leftover succeeds");
  check(GetFileAttributesW(leftover.c_str()) == INVALID_FILE_ATTRIBUTES,
        "the save leaves no temporary file");
  writeBytes(leftover, "[Section]\r\nShape=0\r\n");
  RemoveUnfinishedSave(path);
  check(GetFileAttributesW(leftover.c_str()) == INVALID_FILE_ATTRIBUTES,
        "start-up removes the leftover");
  bool othersKept = true;
  for (const std::wstring& other : others) othersKept = othersKept && readBytes(other) == "not ours";
  check(othersKept && ReadIni(L"Section", L"Shape", path) == L"2", "nothing else is touched");
}

void fileCanOpen(const std::wstring& folder) {
  check(FileCanOpen(folder + L"\\ours.ini"), "FileCanOpen on a file");
  check(!FileCanOpen(folder), "FileCanOpen on a folder is false");
  check(!FileCanOpen(folder + L"\\missing.wav"), "FileCanOpen on a missing file is false");
  IniSettingsSource source(folder + L"\\ours.ini");
  check(source.Read(L"Sound_F_0") == kJapanese, "IniSettingsSource reads the settings section");
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    std::printf("usage: ini_interop FOLDER\n");
    return 2;
  }
  const std::wstring folder = argv[1];
  CreateDirectoryW(folder.c_str(), nullptr);
  std::printf("code page %u\n", GetACP());
  oursToPlatform(folder);
  platformToOurs(folder);
  unicodeAndLineEnds(folder);
  temporaryFile(folder);
  fileCanOpen(folder);
  std::printf("%d failed\n", failures);
  return failures == 0 ? 0 : 1;
}
