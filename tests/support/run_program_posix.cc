#include "run_program.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>

namespace {

// A sanitizer's report ends the program with exit code 86, never with the 1 of a run
// that has findings, so a test that expects 1 cannot mistake one for the other.
void distinguishSanitizerReports() {
  for (const char* name : {"ASAN_OPTIONS", "UBSAN_OPTIONS"}) {
    const char* set = getenv(name);
    const std::string options = set != nullptr ? std::string(set) + ":exitcode=86" : "exitcode=86";
    setenv(name, options.c_str(), 1);
  }
}

[[noreturn]] void execChild(const std::string& program, const std::vector<std::string>& arguments,
                            const std::string& workingFolder, const RunOptions& options, int outFd,
                            int errFd) {
  dup2(outFd, STDOUT_FILENO);
  if (errFd < 0) errFd = open("/dev/null", O_WRONLY);
  dup2(errFd, STDERR_FILENO);
  // Only as standard output and error: a daemon the child starts (a FUSE file system)
  // must not hold the pipes open after the child has gone.
  if (outFd != STDOUT_FILENO && outFd != STDERR_FILENO) close(outFd);
  if (errFd != STDOUT_FILENO && errFd != STDERR_FILENO) close(errFd);
  if (chdir(workingFolder.c_str()) != 0) _exit(127);
  // A test runner started in the background ignores SIGINT, and the child would inherit
  // that; the program must meet the signals that end a run as a user's shell sends them.
  for (const int signalNumber : {SIGINT, SIGTERM, SIGHUP}) signal(signalNumber, SIG_DFL);
  if (options.fileSizeLimit) {
    signal(SIGXFSZ, SIG_IGN);  // ignored dispositions survive exec
    const rlimit limit{*options.fileSizeLimit, *options.fileSizeLimit};
    if (setrlimit(RLIMIT_FSIZE, &limit) != 0) _exit(127);
  }
  if (options.timeLimitSeconds > 0) alarm(options.timeLimitSeconds);  // survives exec too
  for (const auto& [name, value] : options.environment) {
    if (value.empty()) unsetenv(name.c_str());
    else setenv(name.c_str(), value.c_str(), 1);
  }
  distinguishSanitizerReports();
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(program.c_str()));
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  execv(program.c_str(), argv.data());
  _exit(127);
}

// Whether `child` is inside a write(2) to its standard output, as the kernel reports
// it: the system call number, then its first argument, the descriptor.
bool blockedWritingOutput(pid_t child) {
  std::ifstream syscall("/proc/" + std::to_string(child) + "/syscall");
  std::string number;
  std::string descriptor;
  syscall >> number >> descriptor;
  return number == std::to_string(SYS_write) && descriptor == "0x1";
}

void waitUntilBlockedWritingOutput(pid_t child) {
  for (int tries = 0; tries < 60000 && !blockedWritingOutput(child); ++tries) usleep(1000);
}

// Opens a pseudo-terminal: its controller end for reading, and its terminal end for the
// child's standard output, set to pass bytes unchanged. False when the system has none.
bool openTerminal(int& controller, int& terminal) {
  controller = posix_openpt(O_RDWR | O_NOCTTY);
  if (controller < 0) return false;
  if (grantpt(controller) != 0 || unlockpt(controller) != 0) return false;
  terminal = open(ptsname(controller), O_RDWR | O_NOCTTY);
  if (terminal < 0) return false;
  termios settings;
  if (tcgetattr(terminal, &settings) != 0) return false;
  settings.c_oflag &= ~static_cast<tcflag_t>(OPOST);
  return tcsetattr(terminal, TCSANOW, &settings) == 0;
}

}  // namespace

ProgramRun runProgram(const std::string& program, const std::vector<std::string>& arguments,
                      const std::string& workingFolder, const RunOptions& options) {
  ProgramRun run;
  int outPipe[2];
  int errPipe[2] = {-1, -1};
  if (options.terminal ? !openTerminal(outPipe[0], outPipe[1]) : pipe(outPipe) != 0) return run;
  if (options.errorsOnTerminal) {
    if (!openTerminal(errPipe[0], errPipe[1])) return run;
  } else if (options.keepErrors && pipe(errPipe) != 0) {
    return run;
  }
  if (options.whenOutputIsFull) fcntl(outPipe[1], F_SETPIPE_SZ, 4096);
  pid_t child = fork();
  if (child == 0) {
    close(outPipe[0]);
    if (errPipe[0] >= 0) close(errPipe[0]);
    execChild(program, arguments, workingFolder, options, outPipe[1], errPipe[1]);
  }
  close(outPipe[1]);
  if (errPipe[1] >= 0) close(errPipe[1]);
  if (options.outputClosed) close(outPipe[0]);
  if (options.whenOutputIsFull && child > 0) {
    waitUntilBlockedWritingOutput(child);
    options.whenOutputIsFull();
  }
  // Both pipes are drained together, so that a full one cannot stall the child.
  pollfd fds[2] = {{options.outputClosed ? -1 : outPipe[0], POLLIN, 0}, {errPipe[0], POLLIN, 0}};
  std::string* sinks[2] = {&run.output, &run.errors};
  int open = (fds[0].fd >= 0 ? 1 : 0) + (fds[1].fd >= 0 ? 1 : 0);
  char buffer[65536];
  while (open > 0) {
    if (poll(fds, 2, -1) < 0) continue;
    for (int i = 0; i < 2; ++i) {
      if (fds[i].fd < 0 || fds[i].revents == 0) continue;
      ssize_t got = read(fds[i].fd, buffer, sizeof buffer);
      if (got > 0) {
        sinks[i]->append(buffer, static_cast<std::size_t>(got));
      } else {
        close(fds[i].fd);
        fds[i].fd = -1;
        --open;
      }
    }
  }
  int status = 0;
  if (child > 0 && waitpid(child, &status, 0) == child) {
    if (WIFEXITED(status)) run.exitCode = WEXITSTATUS(status);
    if (WIFSIGNALED(status)) run.signal = WTERMSIG(status);
  }
  return run;
}
