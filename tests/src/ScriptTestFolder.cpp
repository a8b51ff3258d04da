// Script test folder and its reset of the shared script values.
#include "ScriptTestFolder.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>

#include "Game.h"
#include "GlobalVarTable.h"
#include "ScriptContext.h"

namespace {

void resetScriptValues() {
  scriptContext = ScriptContext();
  globalVarTable.clearGlobalVars();
  loadGameFileName = "";
  saveGameFileName = "";
}

}  // namespace

ScriptTestFolder::ScriptTestFolder() {
  char buffer[4096];
  previousFolder = getcwd(buffer, sizeof buffer) != nullptr ? buffer : ".";
  char pattern[] = "/tmp/script_test_XXXXXX";
  EXPECT_NE(mkdtemp(pattern), nullptr);
  path = pattern;
  EXPECT_EQ(chdir(path.c_str()), 0);
  resetScriptValues();
}

ScriptTestFolder::~ScriptTestFolder() {
  resetScriptValues();
  EXPECT_EQ(chdir(previousFolder.c_str()), 0);
  std::system(("rm -rf '" + path + "'").c_str());
}

void ScriptTestFolder::writeScript(const std::string &source) {
  std::ofstream("world.lua", std::ios::binary) << source;
}

std::string literal(const std::string &text) {
  std::string out;
  for (char c : text) {
    if (std::string("\\^$.|?*+()[]{}").find(c) != std::string::npos)
      out += '\\';
    out += c;
  }
  return out;
}
