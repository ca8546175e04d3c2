#include "memory/cleaner.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <vector>

#include "memory/memory_status.h"

namespace {

// Blocks are split at this granularity, the platform's allocation unit.
constexpr std::size_t kGranule = 64u << 10;

// Writes UTF-16 spaces over the whole block. The block comes from and goes back to the
// allocator through calls the compiler cannot see into, so these stores cannot be dropped.
void FillWithSpaces(void* block, std::size_t bytes) {
  auto* chars = static_cast<char16_t*>(block);
  std::fill_n(chars, bytes / 2, u' ');
  if (bytes % 2) static_cast<unsigned char*>(block)[bytes - 1] = ' ';
}

}  // namespace

std::int64_t CleanerCharCount(std::int64_t totalPhys) {
  if (totalPhys <= 0) return 0;
  return totalPhys / 3 + (totalPhys % 3 == 2 ? 1 : 0);
}

std::int64_t CleanerClaimBytes(std::int64_t totalPhys, std::int64_t availVirtual) {
  const std::int64_t wanted = 2 * CleanerCharCount(totalPhys);
  const std::int64_t addressable = std::max<std::int64_t>(0, availVirtual - kAddressSpaceMargin);
  std::int64_t bytes = std::min(wanted, addressable);
  // Whole characters only.
  return bytes - bytes % 2;
}

ClaimResult ClaimWriteRelease(BlockAllocator& allocator, std::int64_t bytes) {
  struct Held {
    void* block;
    std::size_t bytes;
  };
  std::vector<Held> held;
  held.reserve(64);  // no reallocation while memory is at its tightest
  ClaimResult result;

  const std::uint64_t largest = std::numeric_limits<std::size_t>::max() / kGranule * kGranule;
  std::uint64_t remaining = bytes > 0 ? static_cast<std::uint64_t>(bytes) : 0;
  std::size_t block = static_cast<std::size_t>(std::min(remaining, largest));
  while (remaining > 0) {
    const std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(block, remaining));
    void* p = allocator.Claim(want);
    if (!p) {
      // No room for one block of that size: try halves, down to the smallest worth having.
      if (want <= kSmallestBlock) break;
      block = std::max(kSmallestBlock, want / 2 / kGranule * kGranule);
      continue;
    }
    FillWithSpaces(p, want);
    held.push_back({p, want});
    remaining -= want;
    result.written += static_cast<std::int64_t>(want);
  }
  result.claimed = remaining == 0;
  result.blocks = static_cast<int>(held.size());
  for (const Held& h : held) allocator.Release(h.block, h.bytes);
  return result;
}

ClaimResult CleanerTick(CleanerWindow& window, MemorySource& memory, BlockAllocator& allocator) {
  // Before anything else: one showing of the window cleans once and shows at most one message.
  window.StopTimer();
  NOMemoryStatus status(memory);
  const std::int64_t total = status.TotalPhysical();
  const std::int64_t bytes = CleanerClaimBytes(total, status.AvailableVirtual());
  const ClaimResult result = ClaimWriteRelease(allocator, bytes);
  if (!result.claimed) window.ShowShortageMessage();
  window.Close();
  return result;
}
