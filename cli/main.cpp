#include <iostream>
#include <string_view>
#include <vector>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <stdio.h>
#endif

#include "lister.h"

int main(int argc, char** argv) {
#ifdef _WIN32
  // Lines end in a line feed alone, on every platform.
  _setmode(_fileno(stdout), _O_BINARY);
#endif
  std::ios::sync_with_stdio(false);
  const std::vector<std::string_view> args(argv + (argc > 0 ? 1 : 0), argv + argc);
  return RunLister(args, std::cout, std::cerr);
}
