#include "entry_without_status.h"

#include <fstream>
#include <string>

#ifndef _WIN32
#include <unistd.h>
#endif

bool MakeEntryWithoutStatus(const std::filesystem::path& folder, std::string_view name) {
#ifdef _WIN32
  // U+AC00 (a Hangul syllable) has no place in code page 932; it stands in front of the name.
  const std::filesystem::path real = folder / (L"\uAC00" + std::filesystem::path(name).wstring());
  std::ofstream(real) << "save";
  return std::filesystem::exists(real);
#else
  const std::string link = (folder / name).string();
  return symlink((folder / "missing target").c_str(), link.c_str()) == 0;
#endif
}
