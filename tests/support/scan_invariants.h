#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>

#include "save/character_record.h"

// What a scan may do to a loaded text, checked after the fact. Shared by the hardening tests and
// the fuzz targets, so both hold the scanner to the same promises:
// - before the text's first NUL it only overwrites bytes with NUL, and past it it touches nothing,
//   not even the rest of the buffer that the file's own NUL bytes hid;
// - every name points into the text, before its first NUL;
// - every record is complete: the total is the sum of the attributes (wrapping as 32-bit values)
//   and the married mark is 0 or 1.
// `loaded` is the buffer as it was loaded, without its terminating NUL; `scanned` is the same
// buffer after the scan. Returns an empty string when all holds, otherwise what broke first.
inline std::string CheckScanInvariants(std::string_view loaded, const char* scanned,
                                       const Roster& roster) {
  const std::size_t textLength = std::min(loaded.find('\0'), loaded.size());
  for (std::size_t i = 0; i <= loaded.size(); ++i) {
    const char before = i < loaded.size() ? loaded[i] : '\0';
    const bool mayBeCut = i < textLength;
    if (scanned[i] != before && !(mayBeCut && scanned[i] == '\0')) {
      return "byte " + std::to_string(i) + " changed from " +
             std::to_string(static_cast<unsigned char>(before)) + " to " +
             std::to_string(static_cast<unsigned char>(scanned[i]));
    }
  }
  for (std::size_t i = 0; i < roster.size(); ++i) {
    const CharacterRecord& record = roster[i];
    const std::string which = "record " + std::to_string(i);
    const auto name = reinterpret_cast<std::uintptr_t>(record.name);
    const auto text = reinterpret_cast<std::uintptr_t>(scanned);
    if (name < text || name >= text + textLength) {
      return which + ": name points outside the text";
    }
    const std::uint32_t sum = static_cast<std::uint32_t>(record.martial) +
                              static_cast<std::uint32_t>(record.diplomacy) +
                              static_cast<std::uint32_t>(record.intrigue) +
                              static_cast<std::uint32_t>(record.stewardship);
    if (record.total != static_cast<std::int32_t>(sum)) return which + ": total is not the sum";
    if (record.married != 0 && record.married != 1) return which + ": married mark is not 0 or 1";
  }
  return {};
}
