// main() of every Windows test program: the first argument is the DLL under test.
#include "PluginLibrary.h"

#include <gtest/gtest.h>

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s PATH-TO-zembrac.dll [gtest options]\n", argv[0]);
    return 2;
  }
  setPluginPath(argv[1]);
  return RUN_ALL_TESTS();
}
