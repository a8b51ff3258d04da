// The fatal report's exact text, its error-stream copy and exit status 1,
// and the file existence test.
#include "FatalReport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <new>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "FatalReportCatcher.h"

namespace {

const std::string preamble =
    "The program aborted unexpectedly. Please send these informations to the developing team for "
    "debug:\n\nLe programme a quitte inopinement. Merci d'envoyer les informations suivantes a "
    "l'equipe de developpement pour corriger le bug :\n\nEl programa se interrumpe "
    "inesperadamente. Por favor enviase estas informaciones a el equipo de programacion para el "
    "depuracion del programa :\n\n";

struct ReportCase {
  const char *condition;
  int line;
  const char *message;
  std::string tail;
};

TEST(FatalReportTest, ReportText) {
  const ReportCase cases[] = {
      {"deviceManager == NULL", 42, nullptr,
       "\n__LINE__ 42\n__TIME__ 20:17:39\nProgram version: (unknown)\nCondition: deviceManager == "
       "NULL\n"},
      {nullptr, 7, "Missing GL version",
       "\n__LINE__ 7\n__TIME__ 20:17:39\nProgram version: (unknown)\nMessage: Missing GL "
       "version\n"},
      {"a < b", 0, "both",
       "\n__LINE__ 0\n__TIME__ 20:17:39\nProgram version: (unknown)\nCondition: a < b\nMessage: "
       "both\n"},
      {nullptr, -3, nullptr, "\n__LINE__ -3\n__TIME__ 20:17:39\nProgram version: (unknown)\n"},
  };
  for (const ReportCase &c : cases) {
    std::string expected = preamble + "\n__DATE__ May 16 2010\n__FILE__ src/Thing.cpp" + c.tail;
    EXPECT_EQ(buildFatalReport("May 16 2010", "src/Thing.cpp", c.condition, c.line, "20:17:39",
                               c.message),
              expected);
  }
}

// The macro passes the condition's source text, and the process ends with 1
// after writing "ERROR : " and the report to the error stream.
TEST(FatalReportDeathTest, AssertWritesReportAndExitsWithOne) {
  int *deviceManager = nullptr;
  int fieldCount = 3;
  EXPECT_EXIT(ASSERT(deviceManager != NULL), testing::ExitedWithCode(1),
              "ERROR : The program aborted unexpectedly\\..*\n\n__DATE__ .*\n__FILE__ "
              ".*FatalReportTest\\.cpp\n__LINE__ [0-9]+\n__TIME__ .*\nProgram version: "
              "\\(unknown\\)\nCondition: deviceManager != NULL\n");
  EXPECT_EXIT(ASSERT(fieldCount == 4 && "three fields"), testing::ExitedWithCode(1),
              "Condition: fieldCount == 4 && \"three fields\"\n");
  EXPECT_EXIT(FATAL("Sprite::Sprite : unknown value of hotSpotAlignment"),
              testing::ExitedWithCode(1),
              "Program version: \\(unknown\\)\nMessage: Sprite::Sprite : unknown value of "
              "hotSpotAlignment\n");
}

// The test hook gets the whole report text, and leaves nothing behind.
TEST(FatalReportTest, HandlerReceivesTheReportText) {
  FatalReportCatcher catcher;
  std::string report = catcher.reportOf([] { FATAL("caught here"); });
  EXPECT_EQ(report.rfind(preamble, 0), 0u) << report;
  EXPECT_NE(report.find("\nProgram version: (unknown)\nMessage: caught here\n"), std::string::npos)
      << report;
  EXPECT_EQ(catcher.reportOf([] {}), "");
}

TEST(FatalReportDeathTest, WithoutHandlerTheProcessEndsAgain) {
  { FatalReportCatcher catcher; }
  EXPECT_EXIT(FATAL("after the catcher"), testing::ExitedWithCode(1),
              "Message: after the catcher\n");
}

// The address sanitizer's allocator never calls the new handler, so the
// installed handler is called directly here.
TEST(FatalReportDeathTest, FailedAllocationEndsInTheReport) {
  EXPECT_EXIT(
      {
        installOutOfMemoryReport();
        std::new_handler handler = std::get_new_handler();
        if (handler != nullptr)
          handler();
      },
      testing::ExitedWithCode(1), "ERROR : .*\nMessage: out of memory\n");
}

TEST(FatalReportTest, PassingCheckDoesNothing) {
  int calls = 0;
  ASSERT(++calls == 1);
  EXPECT_EQ(calls, 1);
}

TEST(FatalReportTest, FileExists) {
  char folder[] = "/tmp/fileExistsXXXXXX";
  ASSERT_NE(mkdtemp(folder), nullptr);
  std::string dir = folder;
  std::ofstream(dir + "/full.txt") << "data";
  std::ofstream(dir + "/empty.txt");
  std::string unreadable = dir + "/unreadable.txt";
  std::ofstream(unreadable) << "x";
  chmod(unreadable.c_str(), 0);
  bool isRoot = geteuid() == 0;

  EXPECT_FALSE(fileExists(""));
  EXPECT_TRUE(fileExists(dir + "/full.txt"));
  EXPECT_TRUE(fileExists(dir + "/empty.txt"));
  EXPECT_FALSE(fileExists(dir + "/missing.txt"));
  EXPECT_FALSE(fileExists(dir));
  if (!isRoot) {
    EXPECT_FALSE(fileExists(unreadable));
  }

  std::remove((dir + "/full.txt").c_str());
  std::remove((dir + "/empty.txt").c_str());
  std::remove(unreadable.c_str());
  rmdir(folder);
}

}  // namespace
