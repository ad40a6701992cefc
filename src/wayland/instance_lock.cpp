#include "wayland/instance_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>

InstanceLock TakeInstanceLock(int& fd) {
  fd = -1;
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  if (runtime == nullptr || runtime[0] != '/') return InstanceLock::Unavailable;
  const std::string path = std::string(runtime) + "/rimeglass-wayland.lock";
  const int file = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (file < 0) return InstanceLock::Unavailable;
  if (flock(file, LOCK_EX | LOCK_NB) != 0) {
    const int error = errno;
    close(file);
    return error == EWOULDBLOCK ? InstanceLock::HeldElsewhere : InstanceLock::Unavailable;
  }
  fd = file;
  return InstanceLock::Taken;
}
