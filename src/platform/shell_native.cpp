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
namespace {

// A pipe whose ends are closed when it goes, or earlier by Close.
class Pipe {
 public:
  Pipe() {
    if (pipe2(ends_, O_CLOEXEC) != 0) throw std::runtime_error(std::strerror(errno));
  }
  ~Pipe() {
    Close(kRead);
    Close(kWrite);
  }
  Pipe(const Pipe&) = delete;
  Pipe& operator=(const Pipe&) = delete;

  static constexpr int kRead = 0;
  static constexpr int kWrite = 1;
  int End(int which) const noexcept { return ends_[which]; }
  void Close(int which) noexcept {
    if (ends_[which] >= 0) close(ends_[which]);
    ends_[which] = -1;
  }

 private:
  int ends_[2] = {-1, -1};
};

}  // namespace

void SpawnShell::Open(const std::string& file, const std::string& parameters) {
  std::vector<std::string> arguments = SplitWindowsCommandLine(parameters);
  arguments.insert(arguments.begin(), file);
  std::vector<char*> argv;
  for (std::string& argument : arguments) argv.push_back(argument.data());
  argv.push_back(nullptr);

  // A short-lived child starts the program, so the program is no child of ours: there is nothing
  // to reap later, and it outlives us as a program the shell started would. The child tells
  // through a pipe whether the start failed, and why.
  Pipe pipe;
  const pid_t child = fork();
  if (child == 0) {
    pid_t program = 0;
    const int result = posix_spawnp(&program, file.c_str(), nullptr, nullptr, argv.data(), environ);
    [[maybe_unused]] const auto written = write(pipe.End(Pipe::kWrite), &result, sizeof result);
    _exit(0);
  }
  if (child < 0) throw std::runtime_error(std::strerror(errno));
  pipe.Close(Pipe::kWrite);
  int result = 0;
  while (read(pipe.End(Pipe::kRead), &result, sizeof result) < 0 && errno == EINTR) {
  }
  while (waitpid(child, nullptr, 0) < 0 && errno == EINTR) {
  }
  if (result != 0) throw std::runtime_error(std::strerror(result));
}

}  // namespace qor::platform
