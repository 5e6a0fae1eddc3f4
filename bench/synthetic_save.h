#pragma once

#include <cstddef>
#include <string>

#include "support/temp_folder.h"

// Saves made up for the benchmarks, in the layout the scanner reads and with entries as full as
// a real save's: a character has more lines than the scanner reads (dynasty, culture, traits,
// family, prestige, health, ...); living and dead characters, married and unmarried ones, Shift-JIS
// and Latin names are mixed. The content is fixed by a seed, so every run measures the same save.

enum class SaveEncoding { kShiftJis, kUtf16 };

// A save written to a file of its own under the temporary folder; the file is removed with it.
class SaveFile {
 public:
  SaveFile(const std::string& bytes, const char* suffix);

  const char* Path() const { return path_.c_str(); }
  std::size_t Bytes() const { return bytes_; }

 private:
  TempFolder folder_;
  std::string path_;
  std::size_t bytes_;
};

class SyntheticSave {
 public:
  // `living` living and `dead` dead characters, the dead spread evenly among the living. Every
  // living character is aged 0 to 90, so a Search for all ages from 0 to 100 lists them all.
  static SyntheticSave WithCharacters(std::size_t living, std::size_t dead);
  // About `bytes` bytes in Shift-JIS, one character in five dead.
  static SyntheticSave OfSize(std::size_t bytes);

  std::size_t Living() const { return living_; }
  std::size_t Characters() const { return characters_; }

  // The save's bytes as a file: Shift-JIS, or UTF-16 little-endian after a byte-order mark.
  std::string Encode(SaveEncoding encoding) const;

 private:
  SyntheticSave() = default;

  std::u16string content_;
  std::size_t living_ = 0;
  std::size_t characters_ = 0;
};
