// The global variable table: order, wrap-around, and its save-game block
// byte for byte, cut and damaged.
#include <gtest/gtest.h>

#include <string>

#include "GlobalVarTable.h"

namespace {

std::string int32Bytes(uint32_t v) {
  std::string bytes;
  for (int i = 0; i < 4; ++i)
    bytes.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
  return bytes;
}

std::string record(const std::string &name, int32_t value) {
  return int32Bytes(static_cast<uint32_t>(name.size())) + name +
         int32Bytes(static_cast<uint32_t>(value));
}

bool parse(const std::string &bytes, GlobalVarTable &table) {
  return GlobalVarTable::parseGlobalVars(reinterpret_cast<const unsigned char *>(bytes.data()),
                                         bytes.size(), table);
}

TEST(GlobalVarTableTest, BlockListsNamesInByteOrder) {
  GlobalVarTable table;
  table.setGlobalVar("b", 2);
  table.setGlobalVar("a", -1);
  table.setGlobalVar("ab", 7);
  table.setGlobalVar("B", 3);
  std::string bytes;
  table.saveGlobalVars(bytes);
  EXPECT_EQ(bytes,
            int32Bytes(4) + record("B", 3) + record("a", -1) + record("ab", 7) + record("b", 2));
}

TEST(GlobalVarTableTest, EmptyTableIsACountOfZero) {
  GlobalVarTable table;
  std::string bytes;
  table.saveGlobalVars(bytes);
  EXPECT_EQ(bytes, int32Bytes(0));
}

TEST(GlobalVarTableTest, AddWrapsAroundAndCreates) {
  GlobalVarTable table;
  EXPECT_EQ(table.addToGlobalVar("n", 2), 2);
  table.setGlobalVar("max", INT32_MAX);
  EXPECT_EQ(table.addToGlobalVar("max", 1), INT32_MIN);
  table.setGlobalVar("min", INT32_MIN);
  EXPECT_EQ(table.addToGlobalVar("min", -1), INT32_MAX);
  EXPECT_EQ(table.getGlobalVar("absent"), 0);
  EXPECT_EQ(table.vars.count("absent"), 0u);
}

TEST(GlobalVarTableTest, ParseReadsBackWhatWasSavedAndRepeatsKeepTheLast) {
  GlobalVarTable table;
  ASSERT_TRUE(parse(int32Bytes(3) + record("x", 1) + record("y", 2) + record("x", 9), table));
  EXPECT_EQ(table.vars, (std::map<std::string, int32_t>{{"x", 9}, {"y", 2}}));
}

struct CutCase {
  const char *what;
  std::string bytes;
  bool isAccepted;
  std::map<std::string, int32_t> vars;
};

TEST(GlobalVarTableTest, CutBlocksFallBackAndDamagedBlocksChangeNothing) {
  const CutCase cases[] = {
      {"nothing at all", "", true, {}},
      {"count cut", int32Bytes(2).substr(0, 2), true, {}},
      {"value cut",
       int32Bytes(1) + int32Bytes(1) + "a" + int32Bytes(5).substr(0, 3),
       true,
       {{"a", -1}}},
      {"records missing", int32Bytes(3) + record("a", 5), true, {{"a", 5}, {"", -1}}},
      {"negative count", int32Bytes(static_cast<uint32_t>(-4)), true, {}},
      {"length beyond the end", int32Bytes(1) + int32Bytes(10) + "abc", false, {}},
      {"negative length",
       int32Bytes(1) + int32Bytes(static_cast<uint32_t>(-1)) + "abcdefgh",
       false,
       {}},
      {"huge count, one record",
       int32Bytes(0x7FFFFFFF) + record("k", 1),
       true,
       {{"k", 1}, {"", -1}}},
  };
  for (const CutCase &c : cases) {
    SCOPED_TRACE(c.what);
    GlobalVarTable table;
    table.setGlobalVar("old", 42);
    EXPECT_EQ(parse(c.bytes, table), c.isAccepted);
    if (c.isAccepted)
      EXPECT_EQ(table.vars, c.vars);
    else
      EXPECT_EQ(table.vars, (std::map<std::string, int32_t>{{"old", 42}}));
  }
}

}  // namespace
