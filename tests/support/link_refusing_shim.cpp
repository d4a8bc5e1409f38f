// Loaded with LD_PRELOAD, makes every hard link fail as on FAT32 or exFAT,
// whatever the file system the test runs on.
#include <cerrno>

extern "C" {

int link(const char*, const char*) {
  errno = EPERM;
  return -1;
}

int linkat(int, const char*, int, const char*, int) {
  errno = EPERM;
  return -1;
}

}  // extern "C"
