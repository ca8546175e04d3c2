#include <gtest/gtest.h>

#include "memory/memory_status.h"
#include "memory/memtext.h"

#include "fake_memory.h"

namespace {

constexpr std::int64_t kKb = 1024;

TEST(MemoryText, Formats) {
  using TextFn = std::wstring (*)(MemorySource&, bool);
  struct Case {
    TextFn fn;
    std::int64_t kilobytes;
    bool formatted;
    const wchar_t* expected;
  } cases[] = {
      {TotalPhysText, 0, true, L" K"},
      {AvailPhysText, 0, true, L"0 K"},
      {TotalVirtualText, 0, true, L" K"},
      {AvailVirtualText, 0, true, L" K"},
      {TotalPhysText, 999, true, L"999 K"},
      {AvailPhysText, 1000, true, L"1,000 K"},
      {TotalVirtualText, 1048576, true, L"1,048,576 K"},
      {AvailVirtualText, 123456, true, L"123,456 K"},
      {TotalPhysText, 24 * kKb * kKb, true, L"25,165,824 K"},
      {TotalPhysText, 2 * kKb * kKb * kKb, true, L"2,147,483,648 K"},
      {TotalPhysText, 24 * kKb * kKb, false, L"25165824"},
      {AvailPhysText, 0, false, L"0"},
  };
  for (const Case& c : cases) {
    FakeMemory mem;
    // The figures are bytes; a few spare bytes must vanish in the division.
    const std::int64_t bytes = c.kilobytes * kKb + 1023;
    mem.next = {0, bytes, bytes, 0, 0, bytes, bytes};
    EXPECT_EQ(c.fn(mem, c.formatted), c.expected) << c.kilobytes;
  }
}

TEST(MemoryText, EachFunctionTakesItsOwnField) {
  FakeMemory mem;
  mem.next = {50, 1 * kKb, 2 * kKb, 3 * kKb, 4 * kKb, 5 * kKb, 6 * kKb};
  EXPECT_EQ(TotalPhysText(mem, false), L"1");
  EXPECT_EQ(AvailPhysText(mem, false), L"2");
  EXPECT_EQ(TotalVirtualText(mem, false), L"5");
  EXPECT_EQ(AvailVirtualText(mem, false), L"6");
}

// A figure is never older than its read: a change of the machine's memory shows at once.
TEST(NOMemoryStatus, EveryReadIsLive) {
  FakeMemory mem;
  NOMemoryStatus status(mem);
  mem.next.availPhys = 20;
  EXPECT_EQ(status.AvailablePhysical(), 20);
  mem.next.availPhys = 24 * kKb * kKb * kKb;
  EXPECT_EQ(status.AvailablePhysical(), 24 * kKb * kKb * kKb);
  EXPECT_EQ(mem.reads, 2);
}

}  // namespace
