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

// A pseudo console and the pipe of its input, closed at most once.
struct PseudoConsole {
  HPCON handle = nullptr;
  HANDLE input = nullptr;

  void close() {
    if (handle != nullptr) ClosePseudoConsole(handle);
    if (input != nullptr) CloseHandle(input);
    handle = nullptr;
    input = nullptr;
  }
  ~PseudoConsole() { close(); }
};

// Reads `pipe` to its end into `sink`.
void drain(HANDLE pipe, std::string& sink) {
  char buffer[65536];
  DWORD got = 0;
  while (ReadFile(pipe, buffer, sizeof buffer, &got, nullptr) && got > 0) sink.append(buffer, got);
}

// The text that a pseudo console sends: without its escape sequences (ESC [ ... final
// byte, ESC ] ... BEL) and without the carriage returns of its line ends.
std::string consoleText(const std::string& sent) {
  std::string text;
  for (std::size_t i = 0; i < sent.size(); ++i) {
    if (sent[i] == '\r') continue;
    if (sent[i] != '\x1b') {
      text += sent[i];
      continue;
    }
    ++i;
    if (i < sent.size() && sent[i] == '[') {
      ++i;  // parameters, up to the final byte from @ to ~
      while (i < sent.size() && (sent[i] < 0x40 || sent[i] > 0x7E)) ++i;
    } else if (i < sent.size() && sent[i] == ']') {
      while (i < sent.size() && sent[i] != '\x07') ++i;
    }
  }
  return text;
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
  STARTUPINFOEXA startup{};
  startup.StartupInfo.cb = sizeof startup;
  startup.StartupInfo.dwFlags = STARTF_USESTDHANDLES;
  startup.StartupInfo.hStdInput = nul;
  startup.StartupInfo.hStdOutput = writeEnd;
  startup.StartupInfo.hStdError = options.keepErrors ? errorsWriteEnd : nul;
  std::string application = program;
  DWORD flags = 0;
  // On a terminal: a pseudo console that writes what it shows into the pipe. A program
  // started on one gets no console handles when its parent's are pipes, so the console
  // launcher goes first and hands its console on.
  PseudoConsole console;
  std::vector<char> attributes;
  if (options.terminal) {
    HANDLE consoleInput = nullptr;
    if (!CreatePipe(&consoleInput, &console.input, nullptr, 0) ||
        FAILED(CreatePseudoConsole(COORD{250, 100}, consoleInput, writeEnd, 0, &console.handle))) {
      return run;
    }
    CloseHandle(consoleInput);
    SIZE_T size = 0;
    InitializeProcThreadAttributeList(nullptr, 1, 0, &size);
    attributes.resize(size);
    startup.lpAttributeList = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(attributes.data());
    InitializeProcThreadAttributeList(startup.lpAttributeList, 1, 0, &size);
    UpdateProcThreadAttribute(startup.lpAttributeList, 0, PROC_THREAD_ATTRIBUTE_PSEUDOCONSOLE,
                              console.handle, sizeof console.handle, nullptr, nullptr);
    startup.StartupInfo.hStdOutput = nul;
    application = PRECHECK_CONSOLE_LAUNCHER;
    commandLine = quoted(application) + " " + commandLine;
    flags = EXTENDED_STARTUPINFO_PRESENT;
  }
  PROCESS_INFORMATION process{};
  const ScopedEnvironment environment(options.environment);
  const bool started =
      CreateProcessA(application.c_str(), commandLine.data(), nullptr, nullptr, TRUE, flags,
                     nullptr, workingFolder.c_str(), &startup.StartupInfo, &process);
  const DWORD startError = started ? 0 : GetLastError();
  if (startup.lpAttributeList != nullptr) DeleteProcThreadAttributeList(startup.lpAttributeList);
  // Only the child (or the pseudo console) may hold the write ends now, so that reading
  // ends when it exits.
  CloseHandle(writeEnd);
  if (errorsWriteEnd != nullptr) CloseHandle(errorsWriteEnd);
  CloseHandle(nul);
  if (!started) {
    run.output = "<CreateProcess failed with error " + std::to_string(startError) + ">";
  } else {
    // Both streams are read beside the wait, so that a full pipe cannot stall the child.
    std::thread output(drain, readEnd, std::ref(run.output));
    std::thread errors;
    if (errorsReadEnd != nullptr) errors = std::thread(drain, errorsReadEnd, std::ref(run.errors));
    DWORD exitCode = 0;
    if (WaitForSingleObject(process.hProcess, INFINITE) == WAIT_OBJECT_0 &&
        GetExitCodeProcess(process.hProcess, &exitCode)) {
      run.exitCode = static_cast<int>(exitCode);
    }
    console.close();  // the pseudo console's end of the pipe goes with it
    output.join();
    if (errors.joinable()) errors.join();
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    if (options.terminal) run.output = consoleText(run.output);
  }
  console.close();
  CloseHandle(readEnd);
  if (errorsReadEnd != nullptr) CloseHandle(errorsReadEnd);
  return run;
}
