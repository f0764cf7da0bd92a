#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
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
  // to reap later, and it outlives us as a program the shell started would.
  const pid_t child = fork();
  if (child == 0) {
    pid_t program = 0;
    posix_spawnp(&program, file.c_str(), nullptr, nullptr, argv.data(), environ);
    _exit(0);
  }
  if (child < 0) return;
  while (waitpid(child, nullptr, 0) < 0 && errno == EINTR) {
  }
}

}  // namespace qor::platform
