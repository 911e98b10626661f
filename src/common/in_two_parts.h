// Work over a range of items split between this thread and one more: for the steps of a
// run that take a while after the reading is done, when a core would otherwise stand
// idle (the survey of a large batch).
#ifndef PRECHECK_COMMON_IN_TWO_PARTS_H_
#define PRECHECK_COMMON_IN_TWO_PARTS_H_

#include <cstddef>
#include <exception>
#include <system_error>
#include <thread>

// Calls work(begin, end) over [0, count): the first half on a thread of its own when
// `count` is at least `worthAThread` and the machine has a second core, the rest here;
// all here when no thread can be had. `work` must be safe to run on both halves at
// once. What the other half throws is thrown here, as if the work had run here.
template <typename Work>
void inTwoParts(std::size_t count, std::size_t worthAThread, const Work& work) {
  if (count < worthAThread || std::thread::hardware_concurrency() < 2) {
    work(std::size_t{0}, count);
    return;
  }
  const std::size_t half = count / 2;
  std::exception_ptr failure;
  std::thread helper;
  try {
    helper = std::thread([&] {
      try {
        work(std::size_t{0}, half);
      } catch (...) {
        failure = std::current_exception();
      }
    });
  } catch (const std::system_error&) {
    work(std::size_t{0}, count);
    return;
  }
  // The other half is waited for whatever this one does, so that nothing it uses is
  // gone while it runs.
  try {
    work(half, count);
  } catch (...) {
    helper.join();
    throw;
  }
  helper.join();
  if (failure) std::rethrow_exception(failure);
}

#endif  // PRECHECK_COMMON_IN_TWO_PARTS_H_
