// The process-wide model cache (see ModelCache.h).
#include "ModelCache.h"

std::vector<ModelCacheElement> &modelCache() {
  // Lives until program exit; entries still in use then are the owners' leak.
  static std::vector<ModelCacheElement> cache;
  return cache;
}
