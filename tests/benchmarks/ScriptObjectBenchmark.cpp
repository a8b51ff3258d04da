// What one managed script object costs per frame: the formatted callback
// name and the protected call of an empty lua_manage_0, with the load state
// and the distance to the player, in a real interpreter state. Not part of
// the unit tests.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "CustomObject.h"
#include "CustomObjectTypeManager.h"
#include "ScriptContext.h"
#include "ScriptHost.h"

namespace {

void BM_ManageObjects(benchmark::State &state) {
  char folder[] = "/tmp/script_benchmark_XXXXXX";
  if (mkdtemp(folder) == nullptr || chdir(folder) != 0) {
    state.SkipWithError("no working folder");
    return;
  }
  std::ofstream("world.lua") << "function lua_load_0() end\nfunction lua_manage_0() end\n"
                                "function lua_unload_0() end\nfunction lua_onUninitGame() end\n";
  ScriptHost *host = ScriptHost::loadScript(nullptr, nullptr);
  CustomObjectTypeManager manager;
  cotm = &manager;
  scriptContext.currentState = host->lua;
  std::vector<CustomObject> records(static_cast<size_t>(state.range(0)));
  for (size_t i = 0; i < records.size(); ++i)
    records[i].position = Float3(static_cast<float>(i), 0, 0);
  for (auto _ : state) {
    manager.endFrameMarks();
    for (CustomObject &record : records)
      manager.manageObject(record);
    manager.unloadIdleTypes();
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
  host->unloadScript();
  delete host;
  cotm = nullptr;
  scriptContext = ScriptContext();
  std::system((std::string("rm -rf ") + folder).c_str());
}
BENCHMARK(BM_ManageObjects)->Arg(1)->Arg(100)->Arg(1000);

}  // namespace

BENCHMARK_MAIN();
