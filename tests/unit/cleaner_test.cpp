#include "memory/cleaner.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <cstdlib>
#include <string>
#include <vector>

#include "clock/memory_check.h"
#include "fake_memory.h"

namespace {

constexpr std::int64_t kMb = 1LL << 20;
constexpr std::int64_t kGb = 1LL << 30;

// Hands out real (small) blocks, refuses any above `largest` and anything once `budget` bytes
// are held, and checks at every release that the block was written through and that nothing
// was released before the last block was claimed.
class FakeAllocator : public BlockAllocator {
 public:
  std::int64_t largest = INT64_MAX;
  std::int64_t budget = INT64_MAX;
  int claims = 0, refusals = 0, releases = 0;
  std::int64_t held = 0;
  bool claimAfterRelease = false;
  bool unwrittenRelease = false;

  void* Claim(std::size_t bytes) override {
    ++claims;
    if (releases > 0) claimAfterRelease = true;
    if (static_cast<std::int64_t>(bytes) > largest || held + static_cast<std::int64_t>(bytes) > budget) {
      ++refusals;
      return nullptr;
    }
    held += static_cast<std::int64_t>(bytes);
    return std::malloc(bytes);
  }
  void Release(void* block, std::size_t bytes) override {
    ++releases;
    const auto* b = static_cast<const unsigned char*>(block);
    for (std::size_t i = 0; i < bytes; ++i)
      if (b[i] != (i % 2 ? 0x00 : 0x20)) {
        unwrittenRelease = true;
        break;
      }
    held -= static_cast<std::int64_t>(bytes);
    std::free(block);
  }
};

TEST(Cleaner, CharCountIsAThirdRoundedToNearest) {
  const struct {
    std::int64_t total, n;
  } cases[] = {
      {300, 100},                      // divisible by 3
      {301, 100},                      // remainder 1 rounds down
      {302, 101},                      // remainder 2 rounds up
      {134217728, 44739243},           // 128 MB leaves 2
      {24 * kGb, 8 * kGb},             // beyond 32 bits
      {24 * kGb + 1, 8 * kGb},
      {0, 0},
  };
  for (const auto& c : cases) EXPECT_EQ(CleanerCharCount(c.total), c.n) << c.total;
}

TEST(Cleaner, ClaimIsCappedByTheAddressSpace) {
  const struct {
    const char* what;
    std::int64_t total, availVirtual, bytes;
  } cases[] = {
      // 32-bit process on 24 GB: 16 GB wanted, the free address space less the margin given.
      {"32-bit, large machine", 24 * kGb, 2 * kGb - 40 * kMb, 2 * kGb - 40 * kMb - kAddressSpaceMargin},
      {"32-bit, large-address-aware", 24 * kGb, 4 * kGb - 64 * kMb, 4 * kGb - 64 * kMb - kAddressSpaceMargin},
      // 32-bit on a small machine: two thirds fit, so the full amount.
      {"32-bit, 1 GB machine", kGb, 2 * kGb - 40 * kMb, 2 * CleanerCharCount(kGb)},
      {"64-bit, large machine", 24 * kGb, 128LL * 1024 * kGb, 16 * kGb},
      {"64-bit, remainder 2", 134217728, 128LL * 1024 * kGb, 2 * 44739243},
      {"no address space left", 24 * kGb, kAddressSpaceMargin / 2, 0},
      {"odd space left", 24 * kGb, kAddressSpaceMargin + 1001, 1000},
  };
  for (const auto& c : cases) EXPECT_EQ(CleanerClaimBytes(c.total, c.availVirtual), c.bytes) << c.what;
}

TEST(Cleaner, ClaimsOneBlockOrSeveralAndWritesAllBeforeReleasing) {
  const struct {
    const char* what;
    std::int64_t bytes, largest, budget;
    bool claimed;
    int blocks;
  } cases[] = {
      {"one block fits", 6 * kMb, INT64_MAX, INT64_MAX, true, 1},
      {"no block above 2 MB", 6 * kMb + 2, 2 * kMb, INT64_MAX, true, 5},
      {"fragmented: 3 MB, then smaller", 7 * kMb, 3 * kMb, INT64_MAX, true, 4},
      {"not enough in all", 6 * kMb, 2 * kMb, 5 * kMb, false, 0},
      {"nothing at all", 6 * kMb, INT64_MAX, 0, false, 0},
  };
  for (const auto& c : cases) {
    FakeAllocator a;
    a.largest = c.largest;
    a.budget = c.budget;
    const ClaimResult r = ClaimWriteRelease(a, c.bytes);
    EXPECT_EQ(r.claimed, c.claimed) << c.what;
    if (c.claimed) {
      EXPECT_EQ(r.written, c.bytes) << c.what;
      EXPECT_EQ(r.blocks, c.blocks) << c.what;
    }
    EXPECT_FALSE(a.claimAfterRelease) << c.what;
    EXPECT_FALSE(a.unwrittenRelease) << c.what;
    EXPECT_EQ(a.held, 0) << c.what << ": every block given back";
    EXPECT_EQ(a.releases, a.claims - a.refusals) << c.what;
  }
}

// The window as the cleaning sees it. The message box runs a message loop: a tick of a timer
// still running would arrive inside it, so the fake delivers one there if the timer is on.
class FakeWindow : public CleanerWindow {
 public:
  FakeWindow(MemorySource& m, BlockAllocator& a) : memory(m), allocator(a) {}
  MemorySource& memory;
  BlockAllocator& allocator;
  bool timerOn = true, closed = false;
  int messages = 0, ticks = 0;
  std::vector<std::string> order;

  void Tick() {
    ++ticks;
    CleanerTick(*this, memory, allocator);
  }
  void StopTimer() override {
    timerOn = false;
    order.push_back("stop");
  }
  void ShowShortageMessage() override {
    ++messages;
    order.push_back("message");
    if (timerOn) Tick();
  }
  void Close() override {
    closed = true;
    order.push_back("close");
  }
};

TEST(Cleaner, ShortageShowsOneMessageThenCloses) {
  FakeMemory mem;
  mem.next.totalPhys = 24 * kMb;
  mem.next.availVirtual = 128LL * 1024 * kGb;
  FakeAllocator failing;
  failing.budget = 0;
  FakeWindow w(mem, failing);
  w.Tick();
  EXPECT_EQ(w.ticks, 1);
  EXPECT_EQ(w.messages, 1);
  EXPECT_TRUE(w.closed);
  EXPECT_EQ(w.order, (std::vector<std::string>{"stop", "message", "close"}));
  // One attempt, halving down to the smallest block: 16 MB, 8, 4, 2, 1.
  EXPECT_EQ(failing.claims, 5);

  FakeAllocator roomy;
  FakeWindow ok(mem, roomy);
  const ClaimResult r = CleanerTick(ok, mem, roomy);
  EXPECT_TRUE(r.claimed);
  EXPECT_EQ(r.written, 2 * CleanerCharCount(24 * kMb));
  EXPECT_EQ(ok.messages, 0);
  EXPECT_EQ(ok.order, (std::vector<std::string>{"stop", "close"}));
}

TEST(MemoryCheck, IntervalThresholdAndCounter) {
  FakeMemory mem;
  mem.next.totalPhys = 10 * kGb;  // above 4 GB: the share must come from 64-bit figures
  const struct {
    const char* what;
    std::int16_t ival;
    float kagen;
    std::int64_t availPhys;
    int ticks;
    std::vector<int> opensAt;  // 1-based tick numbers
  } cases[] = {
      {"25 % free under 30: opens every 5 minutes", 5, 30, 10 * kGb / 4, 900, {300, 600, 900}},
      {"exactly 30 % free: never", 5, 30, 3 * kGb, 900, {}},
      {"every minute", 1, 100, 8 * kGb, 130, {60, 120}},
      {"interval 0 never checks", 0, 100, 0, 5000, {}},
      {"negative interval never checks", -1, 100, 0, 5000, {}},
  };
  for (const auto& c : cases) {
    mem.next.availPhys = c.availPhys;
    MemoryCheck check;
    std::vector<int> opened;
    for (int t = 1; t <= c.ticks; ++t)
      if (check.Tick(c.ival, c.kagen, mem)) opened.push_back(t);
    EXPECT_EQ(opened, c.opensAt) << c.what;

    // A timer that sleeps until the next check, and one stopped part of the way, open the
    // cleaner at the same seconds.
    MemoryCheck sleeper;
    opened.clear();
    for (int t = 0, n; t < c.ticks && (n = sleeper.SecondsToNext(c.ival)) > 0; t += n) {
      n = std::min({n, c.ticks - t, t == 0 ? 7 : n});
      if (sleeper.Advance(n, c.ival, c.kagen, mem)) opened.push_back(t + n);
    }
    EXPECT_EQ(opened, c.ival > 0 ? c.opensAt : std::vector<int>{}) << c.what;
  }

  // A reload of the clock window keeps the count (and takes the new interval): 50 seconds
  // under a 2-minute interval, then 1 minute: the check comes 10 seconds later.
  mem.next.availPhys = 0;
  MemoryCheck check;
  for (int t = 0; t < 50; ++t) EXPECT_FALSE(check.Tick(2, 30, mem));
  for (int t = 0; t < 9; ++t) EXPECT_FALSE(check.Tick(1, 30, mem));
  EXPECT_TRUE(check.Tick(1, 30, mem));
  EXPECT_EQ(check.Count(), 0);
}

TEST(MemoryCheck, FreeShareFromLargeFigures) {
  FakeMemory mem;
  mem.next.totalPhys = 24 * kGb;
  mem.next.availPhys = 6 * kGb;
  EXPECT_FLOAT_EQ(FreePhysPercent(mem), 25.0f);
  mem.next.totalPhys = 0;
  EXPECT_LT(FreePhysPercent(mem), 0);
}

}  // namespace
