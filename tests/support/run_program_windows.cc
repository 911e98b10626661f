#include "run_program.h"

#include <windows.h>

#include <functional>
#include <thread>

namespace {

// Quotes one argument so that the C runtime's command-line parser gives it back
// unchanged: backslashes are doubled only where a double quote follows them.
std::string quoted(const std::string& argument) {
  if (!argument.empty() && argument.find_first_of(" \t\"") == std::string::npos) return argument;
  std::string text = "\"";
  std::size_t backslashes = 0;
  for (char c : argument) {
    if (c == '\\') {
      ++backslashes;
      continue;
    }
    // A quote in the argument is escaped by one more backslash.
    text.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
    backslashes = 0;
    text += c;
  }
  text.append(backslashes * 2, '\\');
  return text + "\"";
}

// Applies `changes` to this process's environment, which the child inherits, and
// restores the earlier values when it goes out of scope.
class ScopedEnvironment {
 public:
  explicit ScopedEnvironment(const EnvironmentChanges& changes) {
    for (const auto& [name, value] : changes) {
      char old[32767];
      const DWORD length = GetEnvironmentVariableA(name.c_str(), old, sizeof old);
      const bool wasSet = length > 0 && length < sizeof old;
      earlier_.push_back({name, wasSet, wasSet ? std::string(old, length) : std::string()});
      SetEnvironmentVariableA(name.c_str(), value.empty() ? nullptr : value.c_str());
    }
  }
  ~ScopedEnvironment() {
    for (const Variable& variable : earlier_) {
      SetEnvironmentVariableA(variable.name.c_str(),
                              variable.wasSet ? variable.value.c_str() : nullptr);
    }
  }
  ScopedEnvironment(const ScopedEnvironment&) = delete;
  ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

 private:
  struct Variable {
    std::string name;
    bool wasSet;
    std::string value;
  };
  std::vector<Variable> earlier_;
};

// Reads `pipe` to its end into `sink`.
void drain(HANDLE pipe, std::string& sink) {
  char buffer[65536];
  DWORD got = 0;
  while (ReadFile(pipe, buffer, sizeof buffer, &got, nullptr) && got > 0) sink.append(buffer, got);
}

}  // namespace

ProgramRun runProgram(const std::string& program, const std::vector<std::string>& arguments,
                      const std::string& workingFolder, const RunOptions& options) {
  ProgramRun run;
  SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  HANDLE readEnd = nullptr;
  HANDLE writeEnd = nullptr;
  if (!CreatePipe(&readEnd, &writeEnd, &inheritable, 0)) return run;
  SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
  HANDLE errorsReadEnd = nullptr;
  HANDLE errorsWriteEnd = nullptr;
  if (options.keepErrors) {
    if (!CreatePipe(&errorsReadEnd, &errorsWriteEnd, &inheritable, 0)) return run;
    SetHandleInformation(errorsReadEnd, HANDLE_FLAG_INHERIT, 0);
  }
  HANDLE nul = CreateFileA("NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                           &inheritable, OPEN_EXISTING, 0, nullptr);

  std::string commandLine = quoted(program);
  for (const std::string& argument : arguments) commandLine += " " + quoted(argument);
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = nul;
  startup.hStdOutput = writeEnd;
  startup.hStdError = options.keepErrors ? errorsWriteEnd : nul;
  PROCESS_INFORMATION process{};
  const ScopedEnvironment environment(options.environment);
  const bool started = CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE,
                                      0, nullptr, workingFolder.c_str(), &startup, &process);
  const DWORD startError = started ? 0 : GetLastError();
  // Only the child may hold the write ends now, so that reading ends when it exits.
  CloseHandle(writeEnd);
  if (errorsWriteEnd != nullptr) CloseHandle(errorsWriteEnd);
  CloseHandle(nul);
  if (!started) {
    run.output = "<CreateProcess failed with error " + std::to_string(startError) + ">";
  } else {
    // Standard error is read beside standard output, so that a full pipe cannot stall
    // the child.
    std::thread errors;
    if (errorsReadEnd != nullptr) errors = std::thread(drain, errorsReadEnd, std::ref(run.errors));
    drain(readEnd, run.output);
    if (errors.joinable()) errors.join();
    DWORD exitCode = 0;
    if (WaitForSingleObject(process.hProcess, INFINITE) == WAIT_OBJECT_0 &&
        GetExitCodeProcess(process.hProcess, &exitCode)) {
      run.exitCode = static_cast<int>(exitCode);
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }
  CloseHandle(readEnd);
  if (errorsReadEnd != nullptr) CloseHandle(errorsReadEnd);
  return run;
}
