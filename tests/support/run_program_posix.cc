#include "run_program.h"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

ProgramRun runProgram(const std::string& program, const std::vector<std::string>& arguments,
                      const std::string& workingFolder, const EnvironmentChanges& changes) {
  ProgramRun run;
  int pipeFds[2];
  if (pipe(pipeFds) != 0) return run;
  pid_t child = fork();
  if (child == 0) {
    dup2(pipeFds[1], STDOUT_FILENO);
    close(pipeFds[0]);
    close(pipeFds[1]);
    int devNull = open("/dev/null", O_WRONLY);
    dup2(devNull, STDERR_FILENO);
    if (chdir(workingFolder.c_str()) != 0) _exit(127);
    for (const auto& [name, value] : changes) {
      if (value.empty()) unsetenv(name.c_str());
      else setenv(name.c_str(), value.c_str(), 1);
    }
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    execv(program.c_str(), argv.data());
    _exit(127);
  }
  close(pipeFds[1]);
  char buffer[65536];
  for (;;) {
    ssize_t got = read(pipeFds[0], buffer, sizeof buffer);
    if (got <= 0) break;
    run.output.append(buffer, static_cast<std::size_t>(got));
  }
  close(pipeFds[0]);
  int status = 0;
  if (child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status)) {
    run.exitCode = WEXITSTATUS(status);
  }
  return run;
}
