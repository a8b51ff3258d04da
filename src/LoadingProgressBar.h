// The bar shown while the region table is read from the world file or
// freed: redrawn at most every 100000 microseconds, growing from the left
// while reading and shrinking from the right while freeing.
#pragma once

#include <cstdint>

class LoadingProgressBar {
 public:
  // The constructor's argument.
  static constexpr bool whileReading = false;
  static constexpr bool whileFreeing = true;

  explicit LoadingProgressBar(bool isFreeing);
  // After region number n (walk order) of nbRegions has been handled.
  void regionDone(int64_t n, int64_t nbRegions);

 private:
  bool isFreeing;
  int64_t lastDisplay;
};
