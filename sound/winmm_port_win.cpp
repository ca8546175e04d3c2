#include <windows.h>
#include <mmsystem.h>

#include <algorithm>
#include <string>
#include <vector>

#include "sound/winmm_port.h"
#include "ui/late_dlls.h"

namespace {

// The reply buffers are the caller's fixed fields: hand the device their current content and
// give back all of it, so that whatever the device leaves alone keeps its old text.
std::vector<wchar_t> toBuffer(const std::wstring& content, int length) {
  std::vector<wchar_t> buffer(static_cast<std::size_t>(length), L'\0');
  std::copy_n(content.begin(), std::min(content.size(), buffer.size()), buffer.begin());
  return buffer;
}

class WinmmPort final : public Mci {
 public:
  int SendString(const std::wstring& command, std::wstring* reply, int replyLength) override {
    if (!reply || replyLength <= 0)
      return static_cast<int>(MciSendStringLate(command.c_str(), nullptr, 0, nullptr));
    std::vector<wchar_t> buffer = toBuffer(*reply, replyLength);
    const MCIERROR code = MciSendStringLate(command.c_str(), buffer.data(),
                                            static_cast<UINT>(replyLength), nullptr);
    reply->assign(buffer.data(), buffer.size());
    return static_cast<int>(code);
  }

  bool GetErrorString(int code, std::wstring& out, int length) override {
    if (length <= 0) return false;
    std::vector<wchar_t> buffer = toBuffer(out, length);
    const BOOL ok = MciGetErrorStringLate(static_cast<MCIERROR>(code), buffer.data(),
                                          static_cast<UINT>(length));
    out.assign(buffer.data(), buffer.size());
    return ok != FALSE;
  }

  unsigned WaveOutDevices() override { return WaveOutGetNumDevsLate(); }

  void SetWaveVolume(int percent) override { SetProgramWaveVolume(percent); }

  unsigned long Milliseconds() override { return TimeGetTimeLate(); }

  bool Play(const wchar_t* nameOrNull, unsigned flags) override {
    const bool resource = (flags & SND_RESOURCE) == SND_RESOURCE;
    return PlaySoundLate(nameOrNull, resource ? GetModuleHandleW(nullptr) : nullptr, flags) !=
           FALSE;
  }
};

}  // namespace

std::unique_ptr<Mci> MakeWinmmPort() { return std::make_unique<WinmmPort>(); }

// Device 0 by number, not an open handle: the system applies it to this program's own output,
// which the player's sounds go through, and leaves the master volume alone.
void SetProgramWaveVolume(int percent) {
  const DWORD channel = static_cast<DWORD>(percent) * 0xFFFFu / 100u;
  WaveOutSetVolumeLate(nullptr, channel | channel << 16);
}
