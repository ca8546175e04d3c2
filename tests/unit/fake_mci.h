// A scripted multimedia port: records every call and answers each command string as scripted.
#pragma once

#include <algorithm>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "sound/alarm_sound.h"

class FakeMci : public Mci {
 public:
  struct Answer {
    int code = 0;
    std::wstring reply;
    bool writes = true;  // false: the device leaves the reply buffer as it was
  };
  using Sent = std::pair<std::wstring, int>;  // command, reply buffer length

  std::map<std::wstring, Answer> answers;  // unlisted commands succeed with an empty reply
  std::map<int, std::wstring> errorTexts;  // codes without an entry have no description
  unsigned devices = 1;
  std::vector<std::wstring> refused;  // names the player turns down

  std::vector<Sent> sent;
  std::vector<int> errorLengths;
  std::vector<std::pair<std::wstring, unsigned>> played;  // L"<null>" for a stop

  int SendString(const std::wstring& command, std::wstring* reply, int replyLength) override {
    sent.emplace_back(command, replyLength);
    const auto it = answers.find(command);
    const Answer answer = it == answers.end() ? Answer{} : it->second;
    if (reply && replyLength > 0 && answer.writes) writeInto(*reply, answer.reply, replyLength);
    return answer.code;
  }

  bool GetErrorString(int code, std::wstring& out, int length) override {
    errorLengths.push_back(length);
    const auto it = errorTexts.find(code);
    if (it == errorTexts.end()) return false;
    writeInto(out, it->second, length);
    return true;
  }

  unsigned WaveOutDevices() override { return devices; }

  bool Play(const wchar_t* nameOrNull, unsigned flags) override {
    const std::wstring name = nameOrNull ? nameOrNull : L"<null>";
    played.emplace_back(name, flags);
    return std::find(refused.begin(), refused.end(), name) == refused.end();
  }

  std::vector<int> volumes;  // each SetWaveVolume, in percent
  unsigned long now = 0;     // what Milliseconds answers
  void SetWaveVolume(int percent) override { volumes.push_back(percent); }
  unsigned long Milliseconds() override { return now; }

  std::vector<std::wstring> commands() const {
    std::vector<std::wstring> out;
    for (const auto& s : sent) out.push_back(s.first);
    return out;
  }

 private:
  // Like the system: NUL-terminated text over the start of the buffer, the rest untouched.
  static void writeInto(std::wstring& buffer, const std::wstring& text, int length) {
    const std::wstring cut = text.substr(0, static_cast<std::size_t>(length - 1));
    if (buffer.size() < cut.size() + 1) buffer.resize(cut.size() + 1);
    buffer.replace(0, cut.size() + 1, cut + L'\0');
  }
};

// The MP3 open command as it goes out: in its fixed 255-character field.
inline std::wstring mp3OpenCommand(const std::wstring& path) {
  std::wstring command = L"open \"" + path + L"\" type MPEGVideo Alias MP3Play";
  if (command.size() < 255) command.resize(255, L' ');
  return command;
}
