#include "e2e/binary_runner.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

namespace quorva {

bool RunsUnderWine() {
  return false;
}

BinaryRun RunQuorvaBinary(const std::vector<std::string>& arguments,
                          const std::string& working_folder) {
  int pipe_ends[2];
  BinaryRun run;
  if (::pipe(pipe_ends) != 0) {
    return run;
  }
  pid_t child = ::fork();
  if (child == 0) {
    ::close(pipe_ends[0]);
    ::dup2(pipe_ends[1], STDOUT_FILENO);
    ::close(pipe_ends[1]);
    ::close(STDIN_FILENO);
    if (::chdir(working_folder.c_str()) != 0) {
      ::_exit(126);
    }
    std::vector<char*> argv;
    std::string program = QUORVA_BINARY;
    argv.push_back(program.data());
    std::vector<std::string> copies = arguments;
    for (std::string& argument : copies) {
      argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    ::execv(program.c_str(), argv.data());
    ::_exit(127);
  }
  ::close(pipe_ends[1]);
  char buffer[4096];
  while (true) {
    ssize_t got = ::read(pipe_ends[0], buffer, sizeof buffer);
    if (got > 0) {
      run.output.append(buffer, static_cast<std::size_t>(got));
    } else if (got == 0 || errno != EINTR) {
      break;
    }
  }
  ::close(pipe_ends[0]);
  int status = 0;
  ::waitpid(child, &status, 0);
  run.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  return run;
}

}  // namespace quorva
