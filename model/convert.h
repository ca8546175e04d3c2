// Conversions between the INI file's value text and the settings' number types. Readers take
// what the writers produce (" 1500", "-300", " 0", "-1") and a little more; a value that does not
// convert, or does not fit its field, gives nullopt so that the field keeps what it held.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

// Blanks, optional sign, decimal digits, optional fraction. Fractions round half to even.
std::optional<std::int16_t> ToInt16(const std::wstring& text);
std::optional<std::int32_t> ToInt32(const std::wstring& text);
std::optional<std::int64_t> ToInt64(const std::wstring& text);
std::optional<float> ToSingle(const std::wstring& text);
// A 16-bit Boolean (-1 true, 0 false): any nonzero number is true; "True"/"False" in any case.
std::optional<std::int16_t> ToBoolean(const std::wstring& text);

// The writers' form: one leading blank for values >= 0, a bare minus sign for negative ones.
std::wstring NumberText(std::int64_t value);  // 1500 -> " 1500", -300 -> "-300"
std::wstring SingleText(float value);         // 30 -> " 30", 25.5 -> " 25.5"
std::wstring BooleanText(bool value);         // true -> "-1", false -> " 0"
