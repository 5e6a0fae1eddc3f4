// The Windows tests hold the program to code page 932, the ANSI code page of the Japanese systems
// it is written for. Run first, this stops the test run with a clear message on any other.
#include <windows.h>

#include <cstdio>

int main() {
  const UINT codePage = GetACP();
  if (codePage != 932) {
    std::fprintf(stderr,
                 "The ANSI code page is %u, not 932. Under wine, run the tests with "
                 "LC_ALL=ja_JP.UTF-8 (.ci/wine-run does) and generate that locale first.\n",
                 codePage);
    return 1;
  }
  std::printf("ANSI code page 932\n");
  return 0;
}
