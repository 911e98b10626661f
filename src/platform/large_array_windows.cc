#include <windows.h>

#include "platform/large_array.h"

namespace platform {

// Committed as it is touched, like the heap: large pages need a privilege that users
// do not hold.
void* allocateLargeArray(std::size_t bytes) {
  return VirtualAlloc(nullptr, bytes, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
}

void freeLargeArray(void* start, std::size_t /*bytes*/) { VirtualFree(start, 0, MEM_RELEASE); }

}  // namespace platform
