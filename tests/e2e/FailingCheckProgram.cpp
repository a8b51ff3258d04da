// A program that fails one of the engine's checks on purpose: it opens the
// device (window and GL) and then asks for a second one, which the device
// refuses with its fatal report. Used to drive the report's warning box.
#include "DeviceManager.h"

#include <iostream>

int main(int, char **argv) {
  DeviceManager::create(argv[0], "", 800, 600, false);
  std::cout << "first device created" << std::endl;
  DeviceManager::create(argv[0], "", 800, 600, false);
  std::cout << "second device created" << std::endl;
  return 0;
}
