// Fill rate of the memory cleaning against a plain loop filling a fresh block of the same
// size, in one process, alternating the two. Built natively (blocks from mmap) and for
// Windows (blocks from VirtualAlloc, the program's own allocator), from the cleaning code the
// program runs.
//
// Usage: clean_fill [MiB]...   (default 1024 4096); each size runs 1 + 2 x 5 times.
// Output: one line per size with both rates and their ratio, plus the process's peak working
// set after the first cleaning, which shows that the written block was really in memory.

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "memory/cleaner.h"

#ifdef _WIN32
#include <windows.h>
#include <psapi.h>

#include "memory/virtual_memory_win.h"
using Allocator = VirtualMemory;

static std::int64_t PeakWorkingSet() {
  PROCESS_MEMORY_COUNTERS pmc{};
  pmc.cb = sizeof pmc;
  if (!GetProcessMemoryInfo(GetCurrentProcess(), &pmc, sizeof pmc)) return -1;
  return static_cast<std::int64_t>(pmc.PeakWorkingSetSize);
}
#else
#include <sys/mman.h>
#include <sys/resource.h>

class Allocator : public BlockAllocator {
 public:
  void* Claim(std::size_t bytes) override {
    void* p = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    return p == MAP_FAILED ? nullptr : p;
  }
  void Release(void* block, std::size_t bytes) override { munmap(block, bytes); }
};

static std::int64_t PeakWorkingSet() {
  rusage ru{};
  getrusage(RUSAGE_SELF, &ru);
  return static_cast<std::int64_t>(ru.ru_maxrss) * 1024;
}
#endif

namespace {

constexpr int kRounds = 5;
using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point a, Clock::time_point b) {
  return std::chrono::duration<double>(b - a).count();
}

// The baseline: a fresh block from the same allocator, a byte loop, release.
double PlainLoop(BlockAllocator& allocator, std::size_t bytes) {
  const auto t0 = Clock::now();
  auto* p = static_cast<unsigned char*>(allocator.Claim(bytes));
  if (!p) return -1;
  // Word stores the compiler turns into its widest vector stores: the fastest plain fill.
  auto* words = reinterpret_cast<std::uint64_t*>(p);
  for (std::size_t i = 0; i < bytes / 8; ++i) words[i] = 0x0020002000200020ull;
  for (std::size_t i = bytes / 8 * 8; i < bytes; ++i) p[i] = static_cast<unsigned char>(i & 1 ? 0 : ' ');
  allocator.Release(p, bytes);
  return Seconds(t0, Clock::now());
}

double Cleaning(BlockAllocator& allocator, std::size_t bytes) {
  const auto t0 = Clock::now();
  const ClaimResult r = ClaimWriteRelease(allocator, static_cast<std::int64_t>(bytes));
  const double s = Seconds(t0, Clock::now());
  return r.claimed ? s : -1;
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

double Best(const std::vector<double>& v) { return *std::min_element(v.begin(), v.end()); }

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::int64_t> sizes;
  for (int i = 1; i < argc; ++i) sizes.push_back(std::atoll(argv[i]));
  if (sizes.empty()) sizes = {1024, 4096};

  Allocator allocator;
  // Rates from the best round of each (the one least disturbed by other load on the machine),
  // and the ratio of the medians beside it.
  std::printf("%-8s %14s %14s %8s %12s %12s %8s\n", "MiB", "cleaning GB/s", "plain GB/s", "ratio",
              "peak before", "peak after", "median");
  for (std::int64_t mib : sizes) {
    const std::size_t bytes = static_cast<std::size_t>(mib) << 20;
    const std::int64_t peakBefore = PeakWorkingSet();
    // The first cleaning of this size (untimed) shows in the peak working set.
    if (Cleaning(allocator, bytes) < 0) {
      std::printf("%-8lld could not claim the block\n", static_cast<long long>(mib));
      return 1;
    }
    const std::int64_t peakAfter = PeakWorkingSet();
    std::vector<double> clean, plain;
    for (int r = 0; r < kRounds; ++r) {
      // Alternate which goes first, so that neither always meets a warmer system.
      if (r % 2) {
        plain.push_back(PlainLoop(allocator, bytes));
        clean.push_back(Cleaning(allocator, bytes));
      } else {
        clean.push_back(Cleaning(allocator, bytes));
        plain.push_back(PlainLoop(allocator, bytes));
      }
    }
    const double gb = static_cast<double>(bytes) / 1e9;
    const double c = gb / Best(clean), p = gb / Best(plain);
    std::printf("%-8lld %14.2f %14.2f %8.3f %11lldM %11lldM %8.3f\n", static_cast<long long>(mib),
                c, p, c / p, static_cast<long long>(peakBefore >> 20),
                static_cast<long long>(peakAfter >> 20), Median(plain) / Median(clean));
    std::fflush(stdout);
  }
  return 0;
}
