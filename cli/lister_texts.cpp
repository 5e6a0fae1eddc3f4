#include "lister_texts.h"

#include <array>
#include <cerrno>
#include <cstdlib>
#include <system_error>

#include "save/save_text.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <clocale>
#endif

// The program's name as a player types it, and the platform's word for where the tab-separated
// listing is read.
#ifdef _WIN32
#define LISTER_PROGRAM "pellarin-cli.exe"
#define LISTER_CONSOLE_ENGLISH "consoles"
#define LISTER_CONSOLE_JAPANESE "コマンド プロンプト"
#else
#define LISTER_PROGRAM "pellarin-cli"
#define LISTER_CONSOLE_ENGLISH "terminals"
#define LISTER_CONSOLE_JAPANESE "端末"
#endif

namespace {

struct Translation {
  std::string_view english;
  std::string_view japanese;
};

// In the order of ListerText. The help's English form is also the source of the manual page;
// the options' names, defaults and choices come from the table of options (lister_options.cpp).
constexpr std::array<Translation, static_cast<std::size_t>(ListerText::kCount)> kTexts = {{
    {"Usage: " LISTER_PROGRAM R"( [OPTIONS] FILE

Lists the living characters of the save FILE as the roster window would after a Search:
a header line, then one line per character, tab-separated, in UTF-8.

Positionals:
  FILE REQUIRED            the save game (.eug) to read, or - for standard input

Options:
)",
     "使い方: " LISTER_PROGRAM R"( [オプション] FILE

セーブファイル FILE の生きている人物を、画面で「検索」したときと同じように一覧にします。
1 行目が見出し、そのあと 1 人 1 行の、タブ区切りの UTF-8 テキストです。

引数:
  FILE（必須）             読み込むセーブファイル（.eug）。- なら標準入力から読み込みます

オプション:
)"},
    {R"(
COLUMN is one of: %1.
Ages are any whole numbers: the lister reaches ages that the window's sliders cannot (over
100, or below 0 in a damaged save). A minimum above the maximum lists nothing.

Messages and this help are in Japanese where the system's language is Japanese, and in
English elsewhere; the listing's header names are the same in both.

Exit status: 0 listed (also when no character matches), 1 the save could not be read or the
list not written, 2 the command line is not usable or --output names a save, 3 FILE is not a
save of the game (it has no section of characters).
)",
     R"(
COLUMN は %1 の
いずれかです。
年齢には任意の整数を指定できます。画面のスライダーと違い、100 歳を超える年齢や負の年齢も
指定できます。最低年齢が最高年齢より大きいと何も表示されません。

メッセージとこのヘルプは、システムの言語が日本語なら日本語、それ以外では英語です。
一覧の見出しはどちらでも同じです。

終了ステータス: 0 一覧を出力した（該当する人物がいなくても）、1 セーブファイルを読み込めなかった
か一覧を書き込めなかった、2 コマンドラインが正しくないか --output にセーブファイルを指定した、
3 FILE がゲームのセーブファイルではない（人物の部分がない）
)"},
    {"=%1", "（既定 %1）"},
    // The options' lines; a description's later lines are indented under its first.
    {"show the version and exit", "バージョンを表示して終了します"},
    {"show this help and exit", "このヘルプを表示して終了します"},
    {"youngest age listed", "最低年齢"},
    {"oldest age listed", "最高年齢"},
    {"sort the rows by COLUMN, ascending unless :desc is given; each\n"
     "--sort sorts the rows as they stand, stably, so the last one\n"
     "decides first",
     "COLUMN の列で並べ替えます。:desc で降順、それ以外は昇順です。\n"
     "--sort ごとにその時点の並びを安定に並べ替えるので、最後の\n"
     "--sort がいちばん優先されます"},
    {"write comma-separated values, the format for spreadsheets (lines\n"
     "ended by CR LF, UTF-8 with a byte-order mark); the tab-separated\n"
     "default is for " LISTER_CONSOLE_ENGLISH " and scripts",
     "表計算ソフト向けの CSV（改行は CR LF、BOM 付き UTF-8）で出力します。\n"
     "既定のタブ区切りは" LISTER_CONSOLE_JAPANESE "やスクリプト向けです"},
    {"write the list to FILE, a regular file and no other, instead of\n"
     "standard output; FILE is replaced once the whole list is written,\n"
     "and is never a save (.eug)",
     "一覧を標準出力ではなく通常のファイル FILE に書きます。書くのはこの\n"
     "ファイルだけで、一覧を全部書き終えてから置き換えます。セーブファイル\n"
     "（.eug）には書きません"},
    {"Usage: " LISTER_PROGRAM " [OPTIONS] FILE\nRun '" LISTER_PROGRAM " --help' for the options.\n",
     "使い方: " LISTER_PROGRAM " [オプション] FILE\n"
     "オプションは '" LISTER_PROGRAM " --help' で表示されます。\n"},
    {"unknown option '%1'", "'%1' というオプションはありません"},
    {"%1 needs a value", "%1 には値が必要です"},
    {"%1 takes no value", "%1 は値をとりません"},
    {"%1: '%2' is not a whole number of 32 bits", "%1: '%2' は 32 ビットの整数ではありません"},
    {"%1: '%2' is none of %3", "%1: '%2' は %3 のどれでもありません"},
    {"%1: '%2' is not COLUMN, COLUMN:asc or COLUMN:desc",
     "%1: '%2' は COLUMN、COLUMN:asc、COLUMN:desc のどの形でもありません"},
    {"%1: FILE is an empty name", "%1: FILE の名前が空です"},
    {"FILE is missing: name the save to read",
     "FILE がありません。読み込むセーブファイルを指定してください"},
    {"'%1' is one FILE too many: name one save",
     "'%1' は余分です。セーブファイルは 1 つだけ指定してください"},
    {"cannot read '%1': %2", "'%1' を読み込めません: %2"},
    {"'%1' does not look like a save of the game", "'%1' はゲームのセーブファイルではないようです"},
    {"will not write the list to '%1': that is a save, and saves are only read",
     "'%1' には一覧を書きません: セーブファイルは読み込むだけです"},
    {"cannot write the list to '%1': %2", "'%1' に一覧を書き込めません: %2"},
    {"cannot write the listing", "一覧を出力できません"},
    {"it is a folder", "フォルダです"},
    {"it is not a regular file; without --output the list goes to standard output",
     "通常のファイルではありません。--output を付けなければ一覧は標準出力に出ます"},
    {"there is no such file or folder", "そのファイルまたはフォルダはありません"},
    {"permission denied", "アクセスが許可されていません"},
    {"a part of the name that should be a folder is not one",
     "名前の途中にフォルダでないものがあります"},
    {"the disk is full", "ディスクがいっぱいです"},
    {"the file system is read-only", "ファイル システムが読み取り専用です"},
    {"it is larger than %1, the most that is read", "%1 より大きいファイルは読み込みません"},
    {"the file could not be read in full", "ファイルを最後まで読み込めませんでした"},
}};

}  // namespace

ListerLanguage SystemLanguage() {
#ifdef _WIN32
  const bool japanese = PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_JAPANESE;
#else
  // The locale is read and put back: the lister's other texts come from its own table. A locale
  // that the system lacks is not set, and then the variables say what was asked for.
  const std::string previous = std::setlocale(LC_MESSAGES, nullptr);
  const char* chosen = std::setlocale(LC_MESSAGES, "");
  std::string locale = chosen != nullptr ? chosen : "";
  std::setlocale(LC_MESSAGES, previous.c_str());
  for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* value = std::getenv(variable);
    if (!locale.empty() || value == nullptr || *value == '\0') continue;
    locale = value;
  }
  const bool japanese = locale.starts_with("ja");
#endif
  return japanese ? ListerLanguage::kJapanese : ListerLanguage::kEnglish;
}

std::string FormatText(ListerLanguage language, ListerText text,
                       std::initializer_list<std::string_view> values) {
  const Translation& entry = kTexts[static_cast<std::size_t>(text)];
  const std::string_view pattern =
      language == ListerLanguage::kJapanese ? entry.japanese : entry.english;
  std::string formatted;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    // A "%" not followed by the number of a value stands for itself.
    const std::size_t n =
        i + 1 < pattern.size() ? static_cast<unsigned char>(pattern[i + 1] - '1') : values.size();
    if (pattern[i] == '%' && n < values.size()) {
      formatted += values.begin()[n];
      ++i;
    } else {
      formatted += pattern[i];
    }
  }
  return formatted;
}

std::string ReasonText(int error, ListerLanguage language) {
  const auto text = [language](ListerText reason) { return FormatText(language, reason); };
  switch (error) {
    case 0: return text(ListerText::kNotReadInFull);
    case ENOENT: return text(ListerText::kNoSuchFile);
    case EACCES:
    case EPERM: return text(ListerText::kPermissionDenied);
    case ENOTDIR: return text(ListerText::kNotAFolder);
    case EISDIR: return text(ListerText::kIsAFolder);
    case ENOSPC: return text(ListerText::kDiskFull);
    case EROFS: return text(ListerText::kReadOnlyFileSystem);
    case EFBIG:
      return FormatText(language, ListerText::kTooLarge,
                        {std::to_string(kSaveTextLimit >> 20) + " MiB"});
    default: return std::generic_category().message(error);
  }
}
