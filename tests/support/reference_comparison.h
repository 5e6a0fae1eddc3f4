#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "save/code_page.h"
#include "save/save_scanner.h"
#include "support/reference_conversion.h"
#include "support/reference_scanner.h"

// The program's fast roads held to the straightforward ones they replaced. Shared by the tests and
// the differential fuzz targets. Each returns an empty string when both agree, otherwise what
// differs first.

// Scans one copy of `loaded` (a buffer as loaded, without its terminating NUL) with ScanSave and
// another with ReferenceScanSave. Both must reach the characters or not, give the same records, their names at the same
// offsets, and leave the same bytes: every cut, including the last one, where the scan stopped.
inline std::string CompareScanWithReference(std::string_view loaded) {
  std::vector<char> fast(loaded.begin(), loaded.end());
  fast.push_back('\0');
  std::vector<char> reference = fast;
  Roster fastRoster;
  Roster referenceRoster;
  const bool fastReached = ScanSave(fast.data(), fastRoster);
  const bool referenceReached = ReferenceScanSave(reference.data(), referenceRoster);
  if (fastReached != referenceReached) return "the scans disagree on reaching the characters";

  const auto mismatch = std::mismatch(fast.begin(), fast.end(), reference.begin());
  if (mismatch.first != fast.end()) {
    return "the texts differ after the scan at byte " +
           std::to_string(mismatch.first - fast.begin());
  }
  if (fastRoster.size() != referenceRoster.size()) {
    return std::to_string(fastRoster.size()) + " records, not " +
           std::to_string(referenceRoster.size());
  }
  for (std::size_t i = 0; i < fastRoster.size(); ++i) {
    const CharacterRecord& got = fastRoster[i];
    const CharacterRecord& want = referenceRoster[i];
    const bool same = got.name - fast.data() == want.name - reference.data() &&
                      got.gender == want.gender && got.religion == want.religion &&
                      got.age == want.age && got.capital == want.capital &&
                      got.martial == want.martial && got.diplomacy == want.diplomacy &&
                      got.intrigue == want.intrigue && got.stewardship == want.stewardship &&
                      got.total == want.total && got.married == want.married;
    if (!same) return "record " + std::to_string(i) + " differs";
  }
  return {};
}

// Converts `count` UTF-16 little-endian code units with ConvertUtf16LePiece and with the
// whole-text reference; every byte counts, also past a zero code unit's NUL.
inline std::string CompareConversionWithReference(const unsigned char* bytes, std::size_t count) {
  std::string fast(MaxCodePageBytes(count), '\0');
  const std::size_t length = ConvertUtf16LePiece(bytes, count, fast.data());
  if (length == SIZE_MAX) return "the conversion failed";
  fast.resize(length);
  const std::string reference = ReferenceConvertUtf16LeToCodePage(bytes, count);
  if (fast == reference) return {};
  const auto differ = std::mismatch(fast.begin(), fast.end(), reference.begin(), reference.end());
  return "the converted texts differ at byte " + std::to_string(differ.first - fast.begin());
}

// What a file that starts with the byte 0xFF loads as, the reference's way: its whole content as
// UTF-16 little-endian code units up to the first zero unit, converted at once; a lone last byte
// is dropped.
inline std::string ReferenceUtf16Text(std::string_view file) {
  const auto* bytes = reinterpret_cast<const unsigned char*>(file.data());
  std::size_t units = 0;
  while (units < file.size() / 2 && (bytes[2 * units] | bytes[2 * units + 1]) != 0) ++units;
  return ReferenceConvertUtf16LeToCodePage(bytes, units);
}
