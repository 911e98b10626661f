// Memory for the arrays that grow with the batch (a record for every image), in pages
// the system may map two megabytes at a time. Each page a run touches first costs a
// fault; on some virtual machines a fault of a small page costs ten microseconds, and
// the records of 100,000 images span over 4,000 of them.
#ifndef PRECHECK_PLATFORM_LARGE_ARRAY_H_
#define PRECHECK_PLATFORM_LARGE_ARRAY_H_

#include <cstddef>
#include <memory>
#include <new>

namespace platform {

// Arrays this large or larger take memory of their own; smaller ones come from the heap,
// where a large page would mostly stand empty.
inline constexpr std::size_t kLargeArrayBytes = 512 * 1024;

// At least `bytes` of memory, or nullptr; given back with freeLargeArray.
void* allocateLargeArray(std::size_t bytes);
void freeLargeArray(void* start, std::size_t bytes);

// For std::vector: arrays of kLargeArrayBytes or more through the two calls above.
template <typename T>
struct LargeArrayAllocator {
  using value_type = T;

  LargeArrayAllocator() = default;
  template <typename U>
  LargeArrayAllocator(const LargeArrayAllocator<U>&) {}

  T* allocate(std::size_t count) {
    if (count > static_cast<std::size_t>(-1) / sizeof(T)) throw std::bad_array_new_length();
    const std::size_t bytes = count * sizeof(T);
    if (bytes < kLargeArrayBytes) return std::allocator<T>().allocate(count);
    void* start = allocateLargeArray(bytes);
    if (start == nullptr) throw std::bad_alloc();
    return static_cast<T*>(start);
  }
  void deallocate(T* start, std::size_t count) {
    const std::size_t bytes = count * sizeof(T);
    if (bytes < kLargeArrayBytes) {
      std::allocator<T>().deallocate(start, count);
      return;
    }
    freeLargeArray(start, bytes);
  }

  template <typename U>
  bool operator==(const LargeArrayAllocator<U>&) const { return true; }
  template <typename U>
  bool operator!=(const LargeArrayAllocator<U>&) const { return false; }
};

}  // namespace platform

#endif  // PRECHECK_PLATFORM_LARGE_ARRAY_H_
