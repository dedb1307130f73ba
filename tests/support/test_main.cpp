#include <gtest/gtest.h>

#include <clocale>

int main(int argc, char** argv) {
  // Tests assert the C locale's number texts; a developer's own locale must not leak in.
  std::setlocale(LC_ALL, "C");
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
