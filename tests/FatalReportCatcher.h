// Checks fatal reports inside the test process: while a catcher lives, a
// failed check leaves the code under test by an exception carrying the report
// instead of ending the process, so one process can try many failing inputs.
// Code that leaves this way must hold its resources in owning objects.
#pragma once

#include <functional>
#include <string>

class FatalReportCatcher {
 public:
  FatalReportCatcher();
  ~FatalReportCatcher();
  FatalReportCatcher(const FatalReportCatcher &) = delete;
  FatalReportCatcher &operator=(const FatalReportCatcher &) = delete;

  // The report that ended body, or "" when body returned normally.
  std::string reportOf(const std::function<void()> &body);
};
