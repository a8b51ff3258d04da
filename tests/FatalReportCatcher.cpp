// The catcher's handler turns the report into an exception that reportOf
// catches; the plain report is back once the catcher is gone.
#include "FatalReportCatcher.h"

#include "FatalReport.h"

namespace {

struct FatalReportRaised {
  std::string report;
};

void raiseReport(const std::string &report) {
  throw FatalReportRaised{report};
}

}  // namespace

FatalReportCatcher::FatalReportCatcher() {
  setFatalReportHandler(raiseReport);
}

FatalReportCatcher::~FatalReportCatcher() {
  setFatalReportHandler(nullptr);
}

std::string FatalReportCatcher::reportOf(const std::function<void()> &body) {
  try {
    body();
  } catch (const FatalReportRaised &raised) {
    return raised.report;
  }
  return "";
}
