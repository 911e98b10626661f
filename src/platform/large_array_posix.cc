#include <sys/mman.h>

#include <cstdint>

#include "platform/large_array.h"

namespace platform {

namespace {

// The size of a large page on the machines we run on; where pages are mapped some other
// way the advice does nothing and the array is ordinary memory.
constexpr std::size_t kLargePage = 2 * 1024 * 1024;

std::size_t roundedUp(std::size_t bytes) {
  return (bytes + kLargePage - 1) / kLargePage * kLargePage;
}

}  // namespace

void* allocateLargeArray(std::size_t bytes) {
  if (bytes > SIZE_MAX - 2 * kLargePage) return nullptr;
  const std::size_t length = roundedUp(bytes);
  // One large page more than asked, so that the array can start on a boundary of one:
  // only whole, aligned large pages are mapped as such.
  void* mapped = mmap(nullptr, length + kLargePage, PROT_READ | PROT_WRITE,
                      MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (mapped == MAP_FAILED) return nullptr;
  const auto first = reinterpret_cast<std::uintptr_t>(mapped);
  const std::uintptr_t start = (first + kLargePage - 1) / kLargePage * kLargePage;
  if (start > first) munmap(mapped, start - first);
  const std::uintptr_t end = start + length;
  const std::uintptr_t mappedEnd = first + length + kLargePage;
  if (mappedEnd > end) munmap(reinterpret_cast<void*>(end), mappedEnd - end);
  madvise(reinterpret_cast<void*>(start), length, MADV_HUGEPAGE);
  return reinterpret_cast<void*>(start);
}

void freeLargeArray(void* start, std::size_t bytes) { munmap(start, roundedUp(bytes)); }

}  // namespace platform
