// Script object types: load once, manage per object per frame, unload when a
// frame manages none and at script unload; the current object and its local
// variables; names of missing functions in the report.
#include <gtest/gtest.h>

#include <vector>

#include "CustomObject.h"
#include "CustomObjectTypeManager.h"
#include "ScriptContext.h"
#include "ScriptHost.h"
#include "ScriptTestFolder.h"

namespace {

// Four functions per type that print what they were called for.
std::string typeFunctions(int type) {
  std::string n = std::to_string(type);
  return "function lua_load_" + n + "() print(\"load " + n + "\") end\n" + "function lua_manage_" +
         n + "() print(\"manage " + n +
         " \" .. getObjectLocalVariable1()) setObjectLocalVariable1(getObjectLocalVariable1() + "
         "1) end\n" +
         "function lua_draw_" + n + "() print(\"draw " + n + "\") end\n" + "function lua_unload_" +
         n + "() print(\"unload " + n + "\") end\n";
}

class CustomObjectTypeManagerTest : public testing::Test {
 protected:
  CustomObjectTypeManagerTest() { cotm = &manager; }
  ~CustomObjectTypeManagerTest() override {
    delete host;
    cotm = nullptr;
  }

  void load(const std::string &source) {
    folder.writeScript(source + "function lua_onUninitGame() print(\"uninit\") end\n");
    testing::internal::CaptureStdout();
    host = ScriptHost::loadScript(nullptr, nullptr);
    testing::internal::GetCapturedStdout();
    scriptContext.currentState = host->lua;
  }

  // One frame's object pass over the records, as the world runs it.
  std::string frame(std::vector<CustomObject> &records) {
    testing::internal::CaptureStdout();
    manager.endFrameMarks();
    for (CustomObject &record : records)
      manager.manageObject(record);
    manager.unloadIdleTypes();
    return testing::internal::GetCapturedStdout();
  }

  ScriptTestFolder folder;
  CustomObjectTypeManager manager;
  ScriptHost *host = nullptr;
};

TEST_F(CustomObjectTypeManagerTest, TypesLoadOnceManagePerObjectAndUnloadWhenIdle) {
  load(typeFunctions(0) + typeFunctions(2));
  CustomObject a, b, c;
  c.type = 2;
  c.localVariable1 = 10;
  std::vector<CustomObject> records = {a, b, c};
  EXPECT_EQ(frame(records),
            "lua print: load 0\nlua print: manage 0 0\nlua print: manage 0 0\n"
            "lua print: load 2\nlua print: manage 2 10\n");
  EXPECT_EQ(frame(records),
            "lua print: manage 0 1\nlua print: manage 0 1\nlua print: manage 2 11\n");
  EXPECT_EQ(manager.customObjectIsUsed, (std::vector<int>{2, 0, 2}));
  // The region of the type-2 object leaves the view.
  records.pop_back();
  EXPECT_EQ(frame(records), "lua print: manage 0 2\nlua print: manage 0 2\nlua print: unload 2\n");
  records.push_back(c);
  EXPECT_EQ(frame(records),
            "lua print: manage 0 3\nlua print: manage 0 3\nlua print: load 2\n"
            "lua print: manage 2 10\n");
  // Script unload: uninit first, then every loaded type in increasing order.
  testing::internal::CaptureStdout();
  host->unloadScript();
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "lua print: uninit\nlua print: unload 0\nlua print: unload 2\n");
}

TEST_F(CustomObjectTypeManagerTest, TypeFiveGrowsTheArrayToSix) {
  load(typeFunctions(5));
  CustomObject record;
  record.type = 5;
  std::vector<CustomObject> records = {record};
  frame(records);
  EXPECT_EQ(manager.customObjectIsUsed, (std::vector<int>{0, 0, 0, 0, 0, 2}));
}

TEST_F(CustomObjectTypeManagerTest, DistanceAndCurrentObjectDuringManage) {
  load(
      "function lua_load_1() end\n"
      "function lua_manage_1() local x, y, z = getCurrentObjectPosition()\n"
      "  print(x .. \" \" .. y .. \" \" .. z .. \" \" .. getDistanceToPlayer()) end\n");
  CustomObject record;
  record.type = 1;
  record.position = Float3(3, 4, 0);
  std::vector<CustomObject> records = {record};
  // Without a world the player stands at the origin.
  EXPECT_EQ(frame(records), "lua print: 3 4 0 5\n");
  EXPECT_EQ(scriptContext.currentObject, &records[0]);
}

TEST_F(CustomObjectTypeManagerTest, CurrentObjectIsForgottenWithItsRecord) {
  load("function lua_load_0() end\nfunction lua_manage_0() end\n");
  std::vector<CustomObject> records(2);
  frame(records);
  ASSERT_EQ(scriptContext.currentObject, &records[1]);
  // Erasing the first record overwrites the second's place.
  records.erase(records.begin());
  EXPECT_EQ(scriptContext.currentObject, nullptr);
  frame(records);
  ASSERT_EQ(scriptContext.currentObject, &records[0]);
  records.clear();
  EXPECT_EQ(scriptContext.currentObject, nullptr);
}

TEST_F(CustomObjectTypeManagerTest, MissingFunctionsAndBadTypesEndTheProgram) {
  EXPECT_EXIT(
      {
        load("");
        CustomObject record;
        record.type = 7;
        manager.manageObject(record);
      },
      testing::ExitedWithCode(1),
      literal("Message: lua ('calling function lua_load_7'): attempt to call a nil value"));
  EXPECT_EXIT(
      {
        load("function lua_load_3() end\n");
        CustomObject record;
        record.type = 3;
        manager.manageObject(record);
      },
      testing::ExitedWithCode(1),
      literal("Message: lua ('calling function lua_manage_3'): attempt to call a nil value"));
  for (int type : {-1, 70000, INT32_MAX}) {
    SCOPED_TRACE(type);
    EXPECT_EXIT(
        {
          load("");
          CustomObject record;
          record.type = type;
          manager.manageObject(record);
        },
        testing::ExitedWithCode(1), "a script object type number out of range");
  }
}

}  // namespace
