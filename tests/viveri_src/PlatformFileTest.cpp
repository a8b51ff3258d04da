// Crash-safe replacement: content, permissions, symbolic links, leftovers of
// an earlier crash, and failures that must leave the previous file untouched.
#include "PlatformFile.h"

#include <gtest/gtest.h>

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

typedef std::vector<unsigned char> Bytes;

Bytes readBytes(const std::string &path) {
  Bytes bytes;
  FILE *file = fopen(path.c_str(), "rb");
  if (file == NULL)
    return bytes;
  int c;
  while ((c = fgetc(file)) != EOF)
    bytes.push_back(static_cast<unsigned char>(c));
  fclose(file);
  return bytes;
}

class PlatformFileTest : public testing::Test {
 protected:
  PlatformFileTest() {
    char name[] = "/tmp/platformFileXXXXXX";
    folder = mkdtemp(name) != NULL ? name : "";
  }
  ~PlatformFileTest() override {
    if (!folder.empty())
      system(("rm -rf '" + folder + "'").c_str());
  }
  std::string at(const std::string &name) const { return folder + "/" + name; }
  std::vector<std::string> names() const {
    std::vector<std::string> found;
    DIR *directory = opendir(folder.c_str());
    while (dirent *entry = directory != NULL ? readdir(directory) : NULL)
      if (entry->d_name[0] != '.')
        found.push_back(entry->d_name);
    if (directory != NULL)
      closedir(directory);
    std::sort(found.begin(), found.end());
    return found;
  }
  mode_t modeOf(const std::string &path) const {
    struct stat status;
    return stat(path.c_str(), &status) == 0 ? status.st_mode & 07777 : 0;
  }

  std::string folder;
};

TEST_F(PlatformFileTest, NewFileGetsContentAndUsualPermissions) {
  ASSERT_FALSE(folder.empty());
  mode_t mask = umask(027);
  FileReplaceResult result = replaceFileSafely(at("a.dat"), Bytes{1, 2, 3});
  umask(mask);
  EXPECT_EQ(result, FileReplaceResult::replaced);
  EXPECT_EQ(readBytes(at("a.dat")), (Bytes{1, 2, 3}));
  EXPECT_EQ(modeOf(at("a.dat")), 0640u);
  EXPECT_EQ(names(), std::vector<std::string>{"a.dat"});
}

TEST_F(PlatformFileTest, ReplacingKeepsThePreviousPermissions) {
  ASSERT_EQ(replaceFileSafely(at("a.dat"), Bytes{1}), FileReplaceResult::replaced);
  ASSERT_EQ(chmod(at("a.dat").c_str(), 0604), 0);
  EXPECT_EQ(replaceFileSafely(at("a.dat"),
                              [](FILE *file) {
                                fputs("new", file);
                                fputc('!', file);
                              }),
            FileReplaceResult::replaced);
  EXPECT_EQ(readBytes(at("a.dat")), (Bytes{'n', 'e', 'w', '!'}));
  EXPECT_EQ(modeOf(at("a.dat")), 0604u);
}

// The link stays a link; the file it points to gets the content, also through
// a chain of a relative and an absolute link.
TEST_F(PlatformFileTest, SymbolicLinkIsReplacedAtItsTarget) {
  ASSERT_EQ(mkdir(at("real").c_str(), 0700), 0);
  ASSERT_EQ(replaceFileSafely(at("real/world.dat"), Bytes{1}), FileReplaceResult::replaced);
  ASSERT_EQ(symlink("real/world.dat", at("relative").c_str()), 0);
  ASSERT_EQ(symlink(at("relative").c_str(), at("absolute").c_str()), 0);
  for (const char *link : {"relative", "absolute"}) {
    unsigned char marker = static_cast<unsigned char>(link[0]);
    EXPECT_EQ(replaceFileSafely(at(link), Bytes{marker}), FileReplaceResult::replaced) << link;
    struct stat status;
    ASSERT_EQ(lstat(at(link).c_str(), &status), 0);
    EXPECT_TRUE(S_ISLNK(status.st_mode)) << link;
    EXPECT_EQ(readBytes(at("real/world.dat")), Bytes{marker}) << link;
  }
  EXPECT_EQ(names(), (std::vector<std::string>{"absolute", "real", "relative"}));
}

TEST_F(PlatformFileTest, LeftoverOfACrashIsRemovedAtTheNextSave) {
  ASSERT_EQ(replaceFileSafely(at("a.dat"), Bytes{1}), FileReplaceResult::replaced);
  for (const char *name : {"a.dat.saving-Ab12Cd", "a.dat.saving-short", "b.dat.saving-Ab12Cd"})
    ASSERT_EQ(replaceFileSafely(at(name), Bytes{9}), FileReplaceResult::replaced);
  EXPECT_EQ(replaceFileSafely(at("a.dat"), Bytes{2}), FileReplaceResult::replaced);
  EXPECT_EQ(names(),
            (std::vector<std::string>{"a.dat", "a.dat.saving-short", "b.dat.saving-Ab12Cd"}));
}

// A stream error during writing, or a rename that cannot happen, keeps the
// previous file byte for byte and leaves no temporary file.
TEST_F(PlatformFileTest, FailureKeepsThePreviousFile) {
  ASSERT_EQ(replaceFileSafely(at("a.dat"), Bytes{7, 7}), FileReplaceResult::replaced);
  EXPECT_EQ(replaceFileSafely(at("a.dat"),
                              [](FILE *file) {
                                fputs("partial", file);
                                // Reading a write-only stream sets its error flag.
                                fgetc(file);
                              }),
            FileReplaceResult::previousKept);
  EXPECT_EQ(readBytes(at("a.dat")), (Bytes{7, 7}));
  ASSERT_EQ(mkdir(at("folder").c_str(), 0700), 0);
  EXPECT_EQ(replaceFileSafely(at("folder"), Bytes{1}), FileReplaceResult::previousKept);
  EXPECT_EQ(replaceFileSafely(at("missing/a.dat"), Bytes{1}), FileReplaceResult::previousKept);
  EXPECT_EQ(names(), (std::vector<std::string>{"a.dat", "folder"}));
}

}  // namespace
