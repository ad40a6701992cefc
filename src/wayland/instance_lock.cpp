#include "wayland/instance_lock.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>

namespace {

int OpenLockFile() {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  if (runtime == nullptr || runtime[0] != '/') return -1;
  const std::string path = std::string(runtime) + "/rimeglass-wayland.lock";
  return open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
}

// The whole file, written: one holder at a time.
flock WholeFile() {
  flock range{};
  range.l_type = F_WRLCK;
  range.l_whence = SEEK_SET;
  return range;
}

}  // namespace

InstanceLock TakeInstanceLock(int& fd) {
  fd = -1;
  const int file = OpenLockFile();
  if (file < 0) return InstanceLock::Unavailable;
  flock range = WholeFile();
  if (fcntl(file, F_SETLK, &range) != 0) {
    const int error = errno;
    close(file);
    return error == EAGAIN || error == EACCES ? InstanceLock::HeldElsewhere : InstanceLock::Unavailable;
  }
  fd = file;
  return InstanceLock::Taken;
}

pid_t RunningSaver() {
  const int file = OpenLockFile();
  if (file < 0) return 0;
  flock range = WholeFile();
  const bool asked = fcntl(file, F_GETLK, &range) == 0;
  close(file);
  return asked && range.l_type != F_UNLCK ? range.l_pid : 0;
}
