#include <cstdio>

int main() {
  // The window comes with the application-shell work; until then say so plainly.
  std::puts("Vexa: the main window is not built yet; the text and HTTP libraries are.");
  return 0;
}
