#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

#include "platform/result_file.h"
#include "platform/system_text.h"

namespace quorix {
namespace {

std::string full_path(const std::string& path) {
  if (!path.empty() && path.front() == '/') return path;
  char cwd[PATH_MAX];
  if (getcwd(cwd, sizeof cwd) == nullptr) return path;
  return std::string(cwd) + "/" + path;
}

[[noreturn]] void fail_create(const std::string& path, int error) {
  throw std::runtime_error("Cannot create file \"" + full_path(path) + "\". " +
                           trimmed_system_text(std::strerror(error)));
}

}  // namespace

void write_result_file(const std::string& path, std::string_view bytes) {
  // Truncate only once the exclusive lock is held, so a file someone else
  // holds stays untouched, as a share-mode-0 open behaves on Windows.
  const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
  if (fd < 0) fail_create(path, errno);
  struct stat info {};
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0 || ::fstat(fd, &info) != 0 ||
      (S_ISREG(info.st_mode) && ::ftruncate(fd, 0) != 0)) {
    const int error = errno;
    ::close(fd);
    fail_create(path, error);
  }
  const ssize_t written = bytes.empty() ? 0 : ::write(fd, bytes.data(), bytes.size());
  ::close(fd);
  if (written < 0 || static_cast<std::size_t>(written) != bytes.size()) {
    throw std::runtime_error("Stream write error");
  }
}

}  // namespace quorix
