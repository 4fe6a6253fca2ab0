// Handles on Linux and macOS: open, lseek, read, write and close, with the
// operating system's errno turned into the program's I/O error numbers.
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "runtime/error_numbers.h"
#include "runtime/handle_platform.h"

const char PlatformLineEnd[] = "\n";

namespace {

struct ErrnoNumber {
  int errnoValue;
  uint16_t number;
};

// errno values and the I/O error numbers the program reports for them.
const ErrnoNumber errnoNumbers[] = {
    {ENOENT, FileNotFound},
    {ENOTDIR, PathNotFound},     // a component of the path is not a folder
    {ENAMETOOLONG, PathNotFound},
    {ELOOP, PathNotFound},       // the path cannot be resolved
    {EMFILE, TooManyOpenFiles},
    {ENFILE, TooManyOpenFiles},
    {EACCES, AccessDenied},
    {EPERM, AccessDenied},
    {EISDIR, AccessDenied},      // a folder where a file is wanted
    {EBUSY, AccessDenied},
    {ETXTBSY, AccessDenied},
    {EEXIST, AccessDenied},
    {ENOTEMPTY, AccessDenied},
    {EBADF, InvalidHandle},      // the handle cannot do this
    {ENOMEM, NotEnoughMemory},
    {EINVAL, NegativeSeek},      // the only invalid argument the program can give
    {EROFS, WriteProtected},
    {ENXIO, DeviceNotReady},
    {ENODEV, DeviceNotReady},
    {ENOSPC, DiskWriteError},    // disk full
    {EDQUOT, DiskWriteError},
    {EFBIG, DiskWriteError},
    {EPIPE, BrokenPipe},
    {EIO, GeneralFailure},
};

uint16_t NumberForErrno(int error) {
  for (const ErrnoNumber& entry : errnoNumbers)
    if (entry.errnoValue == error) return entry.number;
  return GeneralFailure;
}

int Descriptor(FileHandle handle) { return static_cast<int>(handle); }

// The system says "no such file" for a missing folder too; a user is told
// which of the two it was.
uint16_t NumberForMissing(const char* name) {
  char folder[PATH_MAX];
  const char* lastSlash = std::strrchr(name, '/');
  if (lastSlash == nullptr) return FileNotFound;
  size_t length = static_cast<size_t>(lastSlash - name);
  if (length == 0) return FileNotFound;  // a file in the root folder
  if (length >= sizeof folder) return PathNotFound;
  std::memcpy(folder, name, length);
  folder[length] = '\0';
  struct stat info;
  return ::stat(folder, &info) == 0 && S_ISDIR(info.st_mode) ? FileNotFound : PathNotFound;
}

// Which of descriptors 0 to 2 the program was started without.
bool standardClosed[3];

}  // namespace

void PlatformStartHandles() {
  // A closed pipe and a file-size limit must show up as failed writes
  // (EPIPE, EFBIG), not kill the process.
  std::signal(SIGPIPE, SIG_IGN);
  std::signal(SIGXFSZ, SIG_IGN);
  // The program's own files must never get descriptors 0 to 2: there they
  // would be taken for standard streams, the input treated as standard
  // output, the failure report written into the output file. Each closed
  // one is filled with /dev/null, lowest first, as open always takes the
  // lowest free descriptor. The stream itself stays closed to the program
  // (contract: closed standard streams, see docs/design.md).
  for (int descriptor = 0; descriptor <= 2; ++descriptor) {
    standardClosed[descriptor] = ::fcntl(descriptor, F_GETFD) == -1 && errno == EBADF;
    if (standardClosed[descriptor]) ::open("/dev/null", O_RDWR);
  }
}

FileHandle PlatformStandardHandle(StandardStream stream) {
  int descriptor = stream == StandardStream::Input    ? STDIN_FILENO
                   : stream == StandardStream::Output ? STDOUT_FILENO
                                                      : STDERR_FILENO;
  // A stream closed at start-up has no handle: using it fails (EBADF), as
  // it would have without the placeholder.
  return standardClosed[descriptor] ? NoFileHandle : descriptor;
}

// NoFileHandle counts too: the program never closes a standard stream,
// whether it was open or not.
bool PlatformIsStandardHandle(FileHandle handle) { return handle <= 2; }

uint16_t PlatformOpenFile(const char* name, bool openExisting, FileHandle* handle) {
  // Neither open waits: a named pipe with nobody at its other end would
  // stop the program for good. The input, only ever read, then reads as
  // empty. The output, only ever written, is opened for writing alone, so
  // that a pipe nobody reads fails (ENXIO) instead of taking the screen
  // codes into a pipe that goes away with the program (contract: named
  // pipes, see docs/design.md).
  int flags = (openExisting ? O_RDONLY : (O_WRONLY | O_CREAT | O_TRUNC)) | O_NONBLOCK;
  int fd;
  do {
    fd = ::open(name, flags | O_CLOEXEC | O_NOCTTY, 0666);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) return errno == ENOENT ? NumberForMissing(name) : NumberForErrno(errno);
  // Opening a folder for reading succeeds here; it is no file to convert.
  struct stat info;
  if (::fstat(fd, &info) == 0 && S_ISDIR(info.st_mode)) {
    ::close(fd);
    return AccessDenied;
  }
  // Reads and writes wait as usual.
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  *handle = fd;
  return 0;
}

uint16_t PlatformSeekFile(FileHandle handle, int64_t bytePosition) {
  if (::lseek(Descriptor(handle), static_cast<off_t>(bytePosition), SEEK_SET) < 0)
    return NumberForErrno(errno);
  return 0;
}

uint16_t PlatformReadFile(FileHandle handle, void* buffer, uint32_t count, uint32_t* obtained) {
  *obtained = 0;
  // Standard output is for writing; reading a terminal there would wait for
  // the keyboard.
  if (handle == STDOUT_FILENO) return InvalidHandle;
  uint8_t* bytes = static_cast<uint8_t*>(buffer);
  while (*obtained < count) {
    ssize_t got = ::read(Descriptor(handle), bytes + *obtained, count - *obtained);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return NumberForErrno(errno);
    if (got == 0) break;
    *obtained += static_cast<uint32_t>(got);
  }
  return 0;
}

uint16_t PlatformWriteFile(FileHandle handle, const void* buffer, uint32_t count,
                           uint32_t* written) {
  *written = 0;
  const uint8_t* bytes = static_cast<const uint8_t*>(buffer);
  while (*written < count) {
    ssize_t put = ::write(Descriptor(handle), bytes + *written, count - *written);
    if (put < 0 && errno == EINTR) continue;
    if (put < 0) return NumberForErrno(errno);
    if (put == 0) break;
    *written += static_cast<uint32_t>(put);
  }
  return 0;
}

uint16_t PlatformCloseFile(FileHandle handle) {
  if (::close(Descriptor(handle)) != 0 && errno != EINTR) return NumberForErrno(errno);
  return 0;
}
