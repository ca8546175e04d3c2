#include "memory/memtext.h"

#include "model/convert.h"

namespace {

// `value` grouped by thousands ("1,048,576"); zero gives "" unless `showZero`.
std::wstring groupThousands(std::int64_t value, bool showZero) {
  if (value == 0) return showZero ? L"0" : L"";
  const bool negative = value < 0;
  std::wstring digits = std::to_wstring(value);
  if (negative) digits.erase(0, 1);
  std::wstring out;
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) out += L',';
    out += digits[i];
  }
  return negative ? L"-" + out : out;
}

std::wstring kilobytesText(std::int64_t bytes, bool formatted, bool showZero) {
  const std::int64_t kb = bytes / 1024;
  if (!formatted) return std::to_wstring(kb);
  return groupThousands(kb, showZero) + L" K";
}

}  // namespace

std::wstring TotalPhysText(MemorySource& source, bool formatted) {
  return kilobytesText(source.Read().totalPhys, formatted, false);
}

std::wstring AvailPhysText(MemorySource& source, bool formatted) {
  return kilobytesText(source.Read().availPhys, formatted, true);
}

std::wstring TotalVirtualText(MemorySource& source, bool formatted) {
  return kilobytesText(source.Read().totalVirtual, formatted, false);
}

std::wstring AvailVirtualText(MemorySource& source, bool formatted) {
  return kilobytesText(source.Read().availVirtual, formatted, false);
}

std::optional<double> FreePhysShare(const std::wstring& totalKb, const std::wstring& availKb) {
  const auto total = ToInt64(totalKb);
  const auto avail = ToInt64(availKb);
  if (!total || !avail || *total <= 0) return std::nullopt;
  return static_cast<double>(*avail) / static_cast<double>(*total) * 100.0;
}

std::optional<double> FreePhysShare(MemorySource& source) {
  const std::wstring total = TotalPhysText(source, false);
  return FreePhysShare(total, AvailPhysText(source, false));
}

bool TooSmallToClean(MemorySource& source) {
  const auto totalKb = ToInt64(TotalPhysText(source, false));
  return totalKb && *totalKb < kSmallestCleanedKb;
}
