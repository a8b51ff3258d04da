// Fatal report text, warning output and the file existence test.
// The warning box itself lives in the platform layer (PlatformMessageBox).
#include "FatalReport.h"

#include "PlatformMessageBox.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <fstream>
#include <iostream>
#include <new>
#include <vector>

const char *programVersion = "(unknown)";

namespace {

FatalReportHandler fatalReportHandler = nullptr;

void reportOutOfMemory() {
  FATAL("out of memory");
}

const char *const preamble =
    "The program aborted unexpectedly. Please send these informations to the developing team "
    "for debug:\n\n"
    "Le programme a quitte inopinement. Merci d'envoyer les informations suivantes a l'equipe "
    "de developpement pour corriger le bug :\n\n"
    "El programa se interrumpe inesperadamente. Por favor enviase estas informaciones a el "
    "equipo de programacion para el depuracion del programa :\n\n";

// Multibyte to wide with the runtime's conversion; in the default locale each
// byte becomes the code unit of the same value. Bytes the locale rejects are
// kept as their own value rather than dropping the whole text.
std::wstring toWide(const char *text) {
  std::vector<wchar_t> buffer(std::strlen(text) + 1);
  size_t n = std::mbstowcs(buffer.data(), text, buffer.size());
  if (n == static_cast<size_t>(-1)) {
    std::wstring out;
    for (const char *p = text; *p; ++p)
      out += static_cast<wchar_t>(static_cast<unsigned char>(*p));
    return out;
  }
  return std::wstring(buffer.data(), n);
}

}  // namespace

std::string buildFatalReport(const char *date, const char *file, const char *condition, int line,
                             const char *time, const char *message) {
  std::string report = preamble;
  report += "\n__DATE__ ";
  report += date;
  report += "\n__FILE__ ";
  report += file;
  report += "\n__LINE__ ";
  report += std::to_string(line);
  report += "\n__TIME__ ";
  report += time;
  report += "\nProgram version: ";
  report += programVersion;
  if (condition != nullptr) {
    report += "\nCondition: ";
    report += condition;
  }
  if (message != nullptr) {
    report += "\nMessage: ";
    report += message;
  }
  report += "\n";
  return report;
}

void reportFatal(const char *date, const char *file, const char *condition, int line,
                 const char *time, const char *message) {
  std::string report = buildFatalReport(date, file, condition, line, time, message);
  if (fatalReportHandler != nullptr)
    fatalReportHandler(report);
  reportWarning(report.c_str());
  std::exit(1);
}

void installOutOfMemoryReport() {
  std::set_new_handler(reportOutOfMemory);
}

void setFatalReportHandler(FatalReportHandler handler) {
  fatalReportHandler = handler;
}

void reportWarning(const char *text) {
  std::wstring wideText = toWide(text);
  std::wstring wideCaption = toWide("Problem");
  showWarningBox(wideText, wideCaption);
  std::cerr << "ERROR : " << text << std::endl;
}

bool fileExists(const std::string &name) {
  std::ifstream stream(name.c_str(), std::ios::in | std::ios::binary);
  if (!stream.is_open() || stream.fail() || stream.bad())
    return false;
  // A folder opens as a stream here but cannot be read: count it as missing.
  char c;
  stream.get(c);
  return stream.good() || (stream.eof() && !stream.bad());
}
