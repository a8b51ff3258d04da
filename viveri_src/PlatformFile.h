// Crash-safe file replacement of the platform layer: the new content goes to a
// temporary file in the target's folder, reaches the disk, and only then takes
// the target's name, so a reader finds either the whole old file or the whole
// new one. Used for the world file and the save-games.
#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

enum class FileReplaceResult {
  // The new content is on disk under the name.
  replaced,
  // Nothing changed: the previous file (if any) is intact, no temporary file is left.
  previousKept,
  // The new file took the name, but its folder could not be synced: a crash
  // now could still bring back the previous file.
  replacedFolderNotSynced,
};

// Writes the content through writeContent into a temporary file named
// "<name>.saving-XXXXXX" beside the target, flushes and syncs it, gives it the
// previous file's permissions (else 0666 less the umask), closes it, renames
// it over the target and syncs the folder. A target that is a symbolic link
// is replaced at the file it points to; the link stays. Temporary files left
// by an earlier crash beside the target are removed first. Write errors are
// read from the stream's error flag, so writeContent need not check each write.
FileReplaceResult replaceFileSafely(const std::string &path,
                                    const std::function<void(FILE *)> &writeContent);
FileReplaceResult replaceFileSafely(const std::string &path,
                                    const std::vector<unsigned char> &bytes);

// The size of the file behind an open stream, found once by the caller and
// kept (-1 when the stream cannot tell).
int64_t platformFileSize(FILE *file);

// Bytes between the stream's read position and fileEnd (0 when past it, or
// when either is unknown). Asks the stream for its position only; the file
// does not move.
int64_t bytesLeftBefore(FILE *file, int64_t fileEnd);
