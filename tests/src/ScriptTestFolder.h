// A throw-away working folder holding a "world.lua" for script tests, and
// the script state's shared values reset around each test.
#pragma once

#include <string>

class ScriptHost;

class ScriptTestFolder {
 public:
  ScriptTestFolder();
  ~ScriptTestFolder();
  ScriptTestFolder(const ScriptTestFolder &) = delete;
  ScriptTestFolder &operator=(const ScriptTestFolder &) = delete;

  void writeScript(const std::string &source);

  std::string path;

 private:
  std::string previousFolder;
};

// Escapes a literal text for a death test's regular expression.
std::string literal(const std::string &text);
