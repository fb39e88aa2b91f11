// mirukana-report: prints a project's calculation report without a display.
#include <cstdio>

int main(int argc, char* argv[]) {
  (void)argv;
  if (argc < 2) {
    std::fprintf(stderr, "usage: mirukana-report PROJECT.vor\n");
    return 2;
  }
  return 0;
}
