#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fcntl.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/command_line.h"
#include "platform/services_native.h"

extern char** environ;

namespace qor::platform {

void SpawnShell::Open(const std::string& file, const std::string& parameters) {
  std::vector<std::string> arguments = SplitWindowsCommandLine(parameters);
  arguments.insert(arguments.begin(), file);
  std::vector<char*> argv;
  for (std::string& argument : arguments) argv.push_back(argument.data());
  argv.push_back(nullptr);

  // A short-lived child starts the program, so the program is no child of ours: there is nothing
  // to reap later, and it outlives us as a program the shell started would. The child tells
  // through a pipe whether the start failed, and why.
  int pipeEnds[2];
  if (pipe2(pipeEnds, O_CLOEXEC) != 0) throw std::runtime_error(std::strerror(errno));
  const pid_t child = fork();
  if (child == 0) {
    close(pipeEnds[0]);
    pid_t program = 0;
    const int result = posix_spawnp(&program, file.c_str(), nullptr, nullptr, argv.data(), environ);
    [[maybe_unused]] const auto written = write(pipeEnds[1], &result, sizeof result);
    _exit(0);
  }
  const int forkError = errno;
  close(pipeEnds[1]);
  int result = child < 0 ? forkError : 0;
  if (child > 0) {
    while (read(pipeEnds[0], &result, sizeof result) < 0 && errno == EINTR) {
    }
    while (waitpid(child, nullptr, 0) < 0 && errno == EINTR) {
    }
  }
  close(pipeEnds[0]);
  if (result != 0) throw std::runtime_error(std::strerror(result));
}

}  // namespace qor::platform
