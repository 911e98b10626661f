// precheck-console-launcher COMMAND LINE: runs the command line with this process's
// console as its standard input and output, and ends with its exit code. Tests start
// it on a pseudo console: a program started there directly keeps the pipes of the test
// as its standard handles, and never writes to the console.
#include <windows.h>

int main() {
  // The command line after this program's own name, as it was given.
  const char* rest = GetCommandLineA();
  const char end = *rest == '"' ? '"' : ' ';
  ++rest;
  while (*rest != '\0' && *rest != end) ++rest;
  while (*rest == '"' || *rest == ' ') ++rest;
  char* commandLine = _strdup(rest);

  SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  const DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE;
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = CreateFileA("CONIN$", GENERIC_READ | GENERIC_WRITE, share, &inheritable,
                                  OPEN_EXISTING, 0, nullptr);
  startup.hStdOutput = CreateFileA("CONOUT$", GENERIC_READ | GENERIC_WRITE, share, &inheritable,
                                   OPEN_EXISTING, 0, nullptr);
  startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(nullptr, commandLine, nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                      &process)) {
    return 127;
  }
  DWORD exitCode = 127;
  WaitForSingleObject(process.hProcess, INFINITE);
  GetExitCodeProcess(process.hProcess, &exitCode);
  return static_cast<int>(exitCode);
}
