#include <cstdio>

int main() {
  std::puts("qm830k-cli");
  return 0;
}
