#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

// The lister speaks the player's language: Japanese where the system's language is Japanese,
// English elsewhere. The output's header names are the same in both: scripts and --sort use them.
enum class ListerLanguage { kEnglish, kJapanese };

// Every text that the lister shows, one entry of the table in lister_texts.cpp each, but for the
// meanings of the choices' names, which stand beside them in the table of options. "%1" to "%3"
// stand for the values that FormatText puts in.
enum class ListerText {
  kHelpIntro,
  kHelpNotes,
  kShownDefault,
  kVersionHelp,
  kHelpHelp,
  kMinAgeHelp,
  kMaxAgeHelp,
  kSortHelp,
  kCsvHelp,
  kOutputHelp,
  kUsageHint,
  kUnknownOption,
  kMissingValue,
  kNoValueTaken,
  kNotAnAge,
  kNotAChoice,
  kNotASort,
  kEmptyOutputName,
  kMissingFile,
  kExtraFile,
  kCannotRead,
  kNotASave,
  kOutputIsASave,
  kCannotWriteList,
  kCannotWriteListing,
  kIsAFolder,
  kNotARegularFile,
  kNoSuchFile,
  kPermissionDenied,
  kNotAFolder,
  kDiskFull,
  kReadOnlyFileSystem,
  kTooLarge,
  kNotReadInFull,
  kCount
};

// The language of the system's user interface, chosen once at start: on Windows the user's
// interface language, elsewhere the locale that LC_MESSAGES takes from the environment (LC_ALL,
// then LC_MESSAGES, then LANG).
ListerLanguage SystemLanguage();

// `text` in `language`, each "%N" replaced by the Nth of `values`.
std::string FormatText(ListerLanguage language, ListerText text,
                       std::initializer_list<std::string_view> values = {});

// Why a save could not be read or a list not written, from the errno that the call left, in
// `language`: the reasons that a save or a list meets from the table, any other as the system
// words it. 0 stands for a file that was not read to its end.
std::string ReasonText(int error, ListerLanguage language);
