// Marks which mutex guards a member and which functions must hold it, as LevelDB does.
// Under clang, -Wthread-safety checks the marks; other compilers read them as comments.
#ifndef PRECHECK_COMMON_THREAD_ANNOTATIONS_H_
#define PRECHECK_COMMON_THREAD_ANNOTATIONS_H_

#if defined(__clang__)
#define PRECHECK_THREAD_ATTRIBUTE(x) __attribute__((x))
#else
#define PRECHECK_THREAD_ATTRIBUTE(x)
#endif

#ifndef GUARDED_BY
#define GUARDED_BY(x) PRECHECK_THREAD_ATTRIBUTE(guarded_by(x))
#endif

#ifndef PT_GUARDED_BY
#define PT_GUARDED_BY(x) PRECHECK_THREAD_ATTRIBUTE(pt_guarded_by(x))
#endif

#ifndef EXCLUSIVE_LOCKS_REQUIRED
#define EXCLUSIVE_LOCKS_REQUIRED(...) \
  PRECHECK_THREAD_ATTRIBUTE(exclusive_locks_required(__VA_ARGS__))
#endif

#ifndef LOCKS_EXCLUDED
#define LOCKS_EXCLUDED(...) PRECHECK_THREAD_ATTRIBUTE(locks_excluded(__VA_ARGS__))
#endif

#endif  // PRECHECK_COMMON_THREAD_ANNOTATIONS_H_
