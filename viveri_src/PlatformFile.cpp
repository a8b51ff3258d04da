// Temporary file, write, flush, fsync, permissions, close, rename, folder
// fsync; every step's result is checked, and any failure before the rename
// removes the temporary file.
#include "PlatformFile.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstring>

namespace {

const char *const temporarySuffix = ".saving-";
// mkstemp's six replaced characters.
const size_t temporaryRandomLength = 6;
// Longer chains of links are refused by the system as well.
const int maxLinkHops = 40;

std::string folderOf(const std::string &path) {
  size_t slash = path.rfind('/');
  if (slash == std::string::npos)
    return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string baseNameOf(const std::string &path) {
  size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The file a chain of symbolic links ends at (the path itself when it is no
// link, or does not exist yet). Relative links count from the link's folder.
std::string followLinks(const std::string &path) {
  std::string current = path;
  for (int hop = 0; hop < maxLinkHops; ++hop) {
    struct stat status;
    if (lstat(current.c_str(), &status) != 0 || !S_ISLNK(status.st_mode))
      return current;
    std::vector<char> target(PATH_MAX + 1);
    ssize_t length = readlink(current.c_str(), target.data(), PATH_MAX);
    if (length <= 0)
      return current;
    std::string next(target.data(), static_cast<size_t>(length));
    current = next[0] == '/' ? next : folderOf(current) + "/" + next;
  }
  return current;
}

// Regular files named "<base>.saving-" plus six characters: what a save
// interrupted by a crash leaves behind.
void removeLeftoverTemporaries(const std::string &folder, const std::string &base) {
  DIR *directory = opendir(folder.c_str());
  if (directory == NULL)
    return;
  std::string prefix = base + temporarySuffix;
  while (dirent *entry = readdir(directory)) {
    std::string name = entry->d_name;
    if (name.size() != prefix.size() + temporaryRandomLength ||
        name.compare(0, prefix.size(), prefix) != 0)
      continue;
    std::string leftover = folder + "/" + name;
    struct stat status;
    if (lstat(leftover.c_str(), &status) == 0 && S_ISREG(status.st_mode))
      unlink(leftover.c_str());
  }
  closedir(directory);
}

// Those of the file being replaced, else the usual ones for a new file.
mode_t modeForNewFile(const std::string &target) {
  struct stat existing;
  if (stat(target.c_str(), &existing) == 0)
    return existing.st_mode & 07777;
  mode_t mask = umask(0);
  umask(mask);
  return 0666 & ~mask;
}

bool syncFolder(const std::string &folder) {
  int descriptor = open(folder.c_str(), O_RDONLY | O_DIRECTORY);
  if (descriptor < 0)
    return false;
  bool isSynced = fsync(descriptor) == 0;
  return close(descriptor) == 0 && isSynced;
}

}  // namespace

FileReplaceResult replaceFileSafely(const std::string &path,
                                    const std::function<void(FILE *)> &writeContent) {
  std::string target = followLinks(path);
  std::string folder = folderOf(target);
  removeLeftoverTemporaries(folder, baseNameOf(target));

  std::string temporaryName = target + temporarySuffix + std::string(temporaryRandomLength, 'X');
  int descriptor = mkstemp(&temporaryName[0]);
  if (descriptor < 0)
    return FileReplaceResult::previousKept;
  FILE *file = fdopen(descriptor, "wb");
  if (file == NULL) {
    close(descriptor);
    unlink(temporaryName.c_str());
    return FileReplaceResult::previousKept;
  }

  bool isWritten = fchmod(descriptor, modeForNewFile(target)) == 0;
  if (isWritten)
    writeContent(file);
  isWritten = isWritten && fflush(file) == 0 && ferror(file) == 0 && fsync(descriptor) == 0;
  isWritten = fclose(file) == 0 && isWritten;
  isWritten = isWritten && rename(temporaryName.c_str(), target.c_str()) == 0;
  if (!isWritten) {
    unlink(temporaryName.c_str());
    return FileReplaceResult::previousKept;
  }
  return syncFolder(folder) ? FileReplaceResult::replaced
                            : FileReplaceResult::replacedFolderNotSynced;
}

FileReplaceResult replaceFileSafely(const std::string &path,
                                    const std::vector<unsigned char> &bytes) {
  return replaceFileSafely(path, [&bytes](FILE *file) {
    if (!bytes.empty())
      fwrite(bytes.data(), 1, bytes.size(), file);
  });
}

int64_t platformFileSize(FILE *file) {
  struct stat status;
  int descriptor = fileno(file);
  if (descriptor >= 0 && fstat(descriptor, &status) == 0 && S_ISREG(status.st_mode))
    return static_cast<int64_t>(status.st_size);
  // Streams without a regular file behind them (memory streams): once to
  // the end and back.
  long here = ftell(file);
  if (here < 0 || fseek(file, 0, SEEK_END) != 0)
    return -1;
  long end = ftell(file);
  if (fseek(file, here, SEEK_SET) != 0)
    return -1;
  return end;
}

int64_t bytesLeftBefore(FILE *file, int64_t fileEnd) {
  long here = ftell(file);
  if (here < 0 || fileEnd < 0 || fileEnd <= here)
    return 0;
  return fileEnd - here;
}
