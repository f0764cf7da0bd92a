#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <stdexcept>
#include <system_error>
#include <utility>

#include "platform/atomic_file.h"

namespace qor::platform {
namespace {

// Owns one file descriptor.
class UniqueFd {
 public:
  UniqueFd() noexcept = default;
  ~UniqueFd() { Reset(); }
  UniqueFd(const UniqueFd&) = delete;
  UniqueFd& operator=(const UniqueFd&) = delete;

  int Get() const noexcept { return fd_; }
  void Reset(int fd = -1) noexcept {
    if (fd_ >= 0) ::close(fd_);
    fd_ = fd;
  }
  // Closes now, reporting what close says: on some file systems a late write error shows there.
  bool Close() noexcept { return ::close(std::exchange(fd_, -1)) == 0; }

 private:
  int fd_ = -1;
};

// Runs one step of a save unless the test seam fails it; throws with errno's text when it fails.
template <class Operation>
void Step(SaveStep step, const std::string& failure, Operation&& operation) {
  if (detail::SaveFailsAt(step))
    errno = EIO;
  else if (operation())
    return;
  throw std::runtime_error(failure + std::generic_category().message(errno));
}

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

}  // namespace

void WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes) {
  detail::RemoveStaleTemporaries(path);
  const std::filesystem::path temporary = detail::TemporaryPathFor(path);
  const std::string failure = "cannot write " + PathToUtf8(path) + ": ";
  struct stat target {};
  const bool replacing = ::stat(path.c_str(), &target) == 0 && S_ISREG(target.st_mode);

  // A new file gets the usual permissions (the umask applies); a replaced one keeps its own.
  UniqueFd file;
  Step(SaveStep::CreateTemporary, failure + "cannot create a temporary file beside it: ", [&] {
    file.Reset(::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, replacing ? 0600 : 0666));
    return file.Get() >= 0;
  });
  try {
    Step(SaveStep::Write, failure, [&] { return WriteAll(file.Get(), bytes); });
    Step(SaveStep::Flush, failure, [&] {
      return (!replacing || ::fchmod(file.Get(), target.st_mode & 07777) == 0) && ::fsync(file.Get()) == 0 &&
             file.Close();
    });
    Step(SaveStep::Replace,
         failure + "cannot replace it: ", [&] { return ::rename(temporary.c_str(), path.c_str()) == 0; });
  } catch (...) {
    ::unlink(temporary.c_str());
    throw;
  }
  // The rename itself lasts only once the folder's entry is on the disk.
  const std::filesystem::path folder = path.has_parent_path() ? path.parent_path() : std::filesystem::path(".");
  Step(SaveStep::SyncFolder,
       failure + "the new file is in place, but its folder could not be flushed to the disk: ", [&] {
         UniqueFd directory;
         directory.Reset(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
         return directory.Get() >= 0 && ::fsync(directory.Get()) == 0;
       });
}

}  // namespace qor::platform
