#pragma once

#include <filesystem>
#include <string_view>

// Makes an entry in `folder`, its name ending in `name`, that a listing of the folder delivers but
// whose file status cannot be had by the name delivered: a link to nothing; on Windows, whose
// narrow file functions see names in the ANSI code page, a file whose name begins with a
// character that code page lacks, so that the "?" the listing gives in its place names no file.
// False when it cannot be made.
bool MakeEntryWithoutStatus(const std::filesystem::path& folder, std::string_view name);
