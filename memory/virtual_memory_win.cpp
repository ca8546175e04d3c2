#include "memory/virtual_memory_win.h"

#include <windows.h>

void* VirtualMemory::Claim(std::size_t bytes) {
  return VirtualAlloc(nullptr, bytes, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
}

void VirtualMemory::Release(void* block, std::size_t /*bytes*/) {
  VirtualFree(block, 0, MEM_RELEASE);
}
