#include <cstdio>
#include <iostream>
#include <string_view>
#include <vector>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include "cli/citara_cli.h"

int main(int argc, char** argv) {
#ifdef _WIN32
  // The entries and saved data are printed byte for byte: no CR inserted before LF.
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stdin), _O_BINARY);
#endif
  std::ios::sync_with_stdio(false);
  const std::vector<std::string_view> args(argv + 1, argv + argc);
  return citara::RunCitara(args, stdin, std::cout, std::cerr);
}
