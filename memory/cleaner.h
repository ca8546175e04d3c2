// The memory cleaning: claim about two thirds of physical memory, write every byte of it and
// give it back at once, so that the system has to take pages away from other programs.
// Everything here is portable; the window supplies the real allocator and the message box.
#pragma once

#include <cstddef>
#include <cstdint>

#include "memory/memtext.h"

// Where the cleaning gets its memory from (VirtualAlloc in the program, a fake in the tests).
class BlockAllocator {
 public:
  virtual ~BlockAllocator() = default;
  // A committed, writable block of `bytes`, or nullptr when none can be had.
  virtual void* Claim(std::size_t bytes) = 0;
  virtual void Release(void* block, std::size_t bytes) = 0;
};

// Address space left alone when the claim is capped: the program and the system libraries
// still need a little while the block is held.
constexpr std::int64_t kAddressSpaceMargin = 128LL << 20;
// Below this a block is not worth claiming: the claim has failed.
constexpr std::size_t kSmallestBlock = 1u << 20;

// N: total physical memory / 3, rounded to the nearest integer. The text of N two-byte
// spaces is what the cleaning writes.
std::int64_t CleanerCharCount(std::int64_t totalPhys);

// What the cleaning claims: 2 x N bytes, but never more than the process can address (its free
// virtual address space less the margin). A 32-bit process on a large machine gets the cap; a
// 64-bit one the full 2 x N. Never negative.
std::int64_t CleanerClaimBytes(std::int64_t totalPhys, std::int64_t availVirtual);

struct ClaimResult {
  bool claimed = false;      // the whole amount was held and written at one moment
  std::int64_t written = 0;  // bytes written (also when the claim failed part way)
  int blocks = 0;            // blocks held at the same time
};

// Claims `bytes` as one block where one fits, otherwise as several smaller ones; fills every
// block with UTF-16 spaces as soon as it is held, and releases all blocks only after the
// last one is written. When the whole amount cannot be had, whatever was claimed is released
// and the result says so.
ClaimResult ClaimWriteRelease(BlockAllocator& allocator, std::int64_t bytes);

// What the cleaner window lends the cleaning.
class CleanerWindow {
 public:
  virtual ~CleanerWindow() = default;
  virtual void StopTimer() = 0;
  // "ﾒﾓﾘｸﾘｰﾆﾝｸﾞの為の実ﾒﾓﾘが不足しています！" with OK only; returns when it is closed.
  virtual void ShowShortageMessage() = 0;
  virtual void Close() = 0;
};

// The cleaner's timer tick: stops the timer first (the message box runs a message loop in
// which further ticks arrive), cleans once, tells of a shortage, and closes the window.
ClaimResult CleanerTick(CleanerWindow& window, MemorySource& memory, BlockAllocator& allocator);
