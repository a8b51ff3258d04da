// The one failure path of the program: a failed check builds a fixed report,
// shows it in a warning box, copies it to the error stream and exits with 1.
// Also the non-fatal warning box and the existence test for optional files.
#pragma once

#include <string>

// Printed by every report; set before the entry point runs, never changed.
extern const char *programVersion;

[[noreturn]] void reportFatal(const char *date, const char *file, const char *condition, int line,
                              const char *time, const char *message);
void reportWarning(const char *text);
bool fileExists(const std::string &name);

// Any failed allocation (operator new, including its nothrow form) ends in the
// fatal report instead of std::bad_alloc ending the process. Installed once at
// start.
void installOutOfMemoryReport();

// For tests only: a handler that receives the report text before the box and
// the exit, so that failures can be checked without a process per case. It
// may leave by throwing; if it returns, the program exits as usual. NULL
// (the start state) restores the plain report.
typedef void (*FatalReportHandler)(const std::string &report);
void setFatalReportHandler(FatalReportHandler handler);

// The report's text, without showing or exiting (the report prints exactly this).
std::string buildFatalReport(const char *date, const char *file, const char *condition, int line,
                             const char *time, const char *message);

// A check: the condition's own source text is the report's condition line.
#define ASSERT(condition)                                                       \
  do {                                                                          \
    if (!(condition))                                                           \
      reportFatal(__DATE__, __FILE__, #condition, __LINE__, __TIME__, nullptr); \
  } while (0)

// A check that also explains itself.
#define ASSERT_MESSAGE(condition, message)                                        \
  do {                                                                            \
    if (!(condition))                                                             \
      reportFatal(__DATE__, __FILE__, #condition, __LINE__, __TIME__, (message)); \
  } while (0)

// An impossible case: no condition, only a message.
#define FATAL(message) reportFatal(__DATE__, __FILE__, nullptr, __LINE__, __TIME__, (message))
