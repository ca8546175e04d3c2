// Prints the physical memory figures the program sees, through the same reader the program
// uses: "TOTAL_KB AVAIL_KB". The end-to-end tests compare the settings dialog's pie with them.
#include <cstdio>

#include "memory/memtext.h"
#include "memory/system_memory_win.h"

int main() {
  SystemMemory memory;
  std::printf("%ls %ls\n", TotalPhysText(memory, false).c_str(),
              AvailPhysText(memory, false).c_str());
  return 0;
}
