// The names of replaceFile's temporary files, alike on every platform: the name of the
// file they replace, ".tmp-" and 16 hexadecimal digits of a random number. Nobody can
// know such a name before the file is there, so no file planted beside the report can
// take its place or stop it.
#ifndef PRECHECK_PLATFORM_TEMPORARY_NAME_H_
#define PRECHECK_PLATFORM_TEMPORARY_NAME_H_

#include <cstdint>
#include <string>

namespace platform {

// The temporary file's path or name for the file at `path`, from `random`.
std::string temporaryNameFor(const std::string& path, std::uint64_t random);

}  // namespace platform

#endif  // PRECHECK_PLATFORM_TEMPORARY_NAME_H_
