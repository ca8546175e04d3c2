#include "model/convert.h"

#include <cfloat>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace {

struct Decimal {
  bool negative = false;
  std::string whole;     // digits before the point
  std::string fraction;  // digits after it
};

bool isBlank(wchar_t c) { return c == L' ' || c == L'\t'; }
bool isDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

std::wstring trim(const std::wstring& s) {
  std::size_t b = 0, e = s.size();
  while (b < e && isBlank(s[b])) ++b;
  while (e > b && isBlank(s[e - 1])) --e;
  return s.substr(b, e - b);
}

std::optional<Decimal> parseDecimal(const std::wstring& text) {
  const std::wstring s = trim(text);
  Decimal d;
  std::size_t i = 0;
  if (i < s.size() && (s[i] == L'-' || s[i] == L'+')) d.negative = s[i++] == L'-';
  while (i < s.size() && isDigit(s[i])) d.whole += static_cast<char>(s[i++]);
  if (i < s.size() && s[i] == L'.') {
    ++i;
    while (i < s.size() && isDigit(s[i])) d.fraction += static_cast<char>(s[i++]);
  }
  if (i != s.size() || (d.whole.empty() && d.fraction.empty())) return std::nullopt;
  return d;
}

// The value rounded to an integer, half to even; nullopt beyond what int64 can carry.
std::optional<std::int64_t> roundedInteger(const Decimal& d) {
  std::size_t start = d.whole.find_first_not_of('0');
  const std::string digits = start == std::string::npos ? "" : d.whole.substr(start);
  if (digits.size() > 18) return std::nullopt;
  std::int64_t magnitude = digits.empty() ? 0 : std::stoll(digits);

  if (!d.fraction.empty()) {
    const char first = d.fraction[0];
    const bool restNonZero = d.fraction.find_first_not_of('0', 1) != std::string::npos;
    const bool up = first > '5' || (first == '5' && (restNonZero || magnitude % 2 == 1));
    if (up) ++magnitude;
  }
  return d.negative ? -magnitude : magnitude;
}

template <typename T>
std::optional<T> toInteger(const std::wstring& text) {
  const std::optional<Decimal> d = parseDecimal(text);
  if (!d) return std::nullopt;
  const std::optional<std::int64_t> v = roundedInteger(*d);
  if (!v || *v < std::numeric_limits<T>::min() || *v > std::numeric_limits<T>::max()) {
    return std::nullopt;
  }
  return static_cast<T>(*v);
}

std::wstring widen(const std::string& ascii) { return std::wstring(ascii.begin(), ascii.end()); }

}  // namespace

std::optional<std::int16_t> ToInt16(const std::wstring& text) { return toInteger<std::int16_t>(text); }

std::optional<std::int32_t> ToInt32(const std::wstring& text) { return toInteger<std::int32_t>(text); }

std::optional<std::int64_t> ToInt64(const std::wstring& text) { return toInteger<std::int64_t>(text); }

std::optional<float> ToSingle(const std::wstring& text) {
  const std::optional<Decimal> d = parseDecimal(text);
  if (!d) return std::nullopt;
  const std::string ascii = (d->negative ? "-" : "") + (d->whole.empty() ? "0" : d->whole) + "." +
                            d->fraction;
  const double v = std::strtod(ascii.c_str(), nullptr);
  if (v > FLT_MAX || v < -FLT_MAX) return std::nullopt;
  return static_cast<float>(v);
}

std::optional<std::int16_t> ToBoolean(const std::wstring& text) {
  std::wstring word = trim(text);
  for (wchar_t& c : word) {
    if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - L'a' + L'A');
  }
  if (word == L"TRUE") return std::int16_t{-1};
  if (word == L"FALSE") return std::int16_t{0};
  const std::optional<Decimal> d = parseDecimal(text);
  if (!d) return std::nullopt;
  const bool nonZero = (d->whole + d->fraction).find_first_not_of('0') != std::string::npos;
  return static_cast<std::int16_t>(nonZero ? -1 : 0);
}

std::wstring NumberText(std::int64_t value) {
  return (value >= 0 ? L" " : L"") + std::to_wstring(value);
}

std::wstring SingleText(float value) {
  if (value == 0) value = 0;  // no "-0"
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.7g", static_cast<double>(value));
  return (value >= 0 ? L" " : L"") + widen(buf);
}

std::wstring BooleanText(bool value) { return value ? L"-1" : L" 0"; }
