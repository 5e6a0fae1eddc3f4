#include "synthetic_save.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <stdexcept>
#include <string_view>

#include "save/code_page.h"
#include "support/utf16.h"

namespace {

constexpr std::u16string_view kNames[] = {
    u"フィリップ", u"Richard",   u"アリエノール", u"Berengaria", u"ボードゥアン", u"Constance",
    u"ｼﾞｬﾝ",       u"John",      u"イザベル",     u"Matilda",    u"ブランシュ",   u"Urraca",
    u"ルイ",       u"Guillaume", u"ロベール",     u"Adela",      u"エティエンヌ", u"Sancho",
};
constexpr std::string_view kReligions[] = {"catholic", "catholic", "orthodox", "pagan", "muslim"};
constexpr std::string_view kCultures[] = {"frankish", "english", "arabic", "greek", "german"};
constexpr std::string_view kTraits[] = {"{ brave diligent }", "{ shy }", "{ }",
                                        "{ genius ambitious kind }"};
constexpr std::uint32_t kCountries = 200;
constexpr std::uint64_t kSeed = 1200;

void Append(std::u16string& out, std::string_view ascii) {
  for (const char c : ascii) out.push_back(static_cast<char16_t>(static_cast<unsigned char>(c)));
}

void Append(std::u16string& out, std::int64_t number) { Append(out, std::to_string(number)); }

// Three capital letters for country `index`, the line feed after them making the four-byte tag.
std::string Tag(std::uint32_t index) {
  return {static_cast<char>('A' + index % 26), static_cast<char>('A' + index / 26 % 26),
          static_cast<char>('A' + index / 676 % 26)};
}

class SaveBuilder {
 public:
  void AddCharacter(bool living) {
    const std::int64_t id = 1000 + static_cast<std::int64_t>(characters_);
    ++characters_;
    living_ += living;
    const std::string_view gender = random_() % 2 ? "m" : "f";
    const std::int64_t age = static_cast<std::int64_t>(random_() % 91);
    const std::int64_t birth = (1200 - age) * 10000 + static_cast<std::int64_t>(random_() % 12) * 100 +
                               1 + static_cast<std::int64_t>(random_() % 28);

    std::u16string& out = characterSection_;
    Append(out, "character = {\n    id = { type = 41 id = ");
    Append(out, id);
    Append(out, " }\n    tag = ");
    Append(out, Tag(static_cast<std::uint32_t>(random_() % kCountries)));
    Append(out, "\n    name = \"");
    out += kNames[random_() % std::size(kNames)];
    Append(out, "\"\n    dynasty = { type = 41 id = ");
    Append(out, static_cast<std::int64_t>(random_() % 5000));
    Append(out, " }\n    birthdate = \"");
    Append(out, birth);
    Append(out, "\"\n    gender = ");
    Append(out, gender);
    Append(out, "\n    religion = ");
    Append(out, kReligions[random_() % std::size(kReligions)]);
    Append(out, "\n    culture = ");
    Append(out, kCultures[random_() % std::size(kCultures)]);
    Append(out, "\n    traits = ");
    Append(out, kTraits[random_() % std::size(kTraits)]);
    Append(out, "\n    father = { type = 41 id = ");
    Append(out, static_cast<std::int64_t>(1000 + random_() % 5000));
    Append(out, " }\n    prestige = ");
    Append(out, static_cast<std::int64_t>(random_() % 500));
    Append(out, ".250\n    piety = 3.000\n");
    if (!living) {
      Append(out, "    deathdate = \"");
      Append(out, birth + 400000);
      Append(out, "\"\n");
    }
    Append(out, "    attributes = {\n");
    static constexpr std::string_view kAttributes[] = {"martial", "diplomacy", "intrigue",
                                                       "stewardship"};
    for (const std::string_view attribute : kAttributes) {
      Append(out, "        ");
      Append(out, attribute);
      Append(out, " = ");
      Append(out, static_cast<std::int64_t>(random_() % 21));
      Append(out, "\n");
    }
    Append(out, "    }\n    health = 5.0\n    fertility = 0.800\n    employer = { type = 41 id = ");
    Append(out, static_cast<std::int64_t>(random_() % 3000));
    Append(out, " }\n    flags = { }\n}\n");

    // About one living character in three marries the living one before, one marriage in eight
    // ended in divorce and does not count.
    if (living && lastUnmarried_ != 0 && random_() % 3 == 0) {
      Append(marriageSection_, "marrige = {\n    husband = { type = 41 id = ");
      Append(marriageSection_, lastUnmarried_);
      Append(marriageSection_, " }\n    wife = { type = 41 id = ");
      Append(marriageSection_, id);
      Append(marriageSection_, random_() % 8 ? " } status = wed\n}\n" : " } divorced = yes\n}\n");
      lastUnmarried_ = 0;
    } else if (living) {
      lastUnmarried_ = id;
    }
  }

  // Units that the save holds so far, about its size in Shift-JIS.
  std::size_t Size() const { return characterSection_.size() + marriageSection_.size(); }
  std::size_t Living() const { return living_; }
  std::size_t Characters() const { return characters_; }

  std::u16string Finish() const {
    std::u16string save;
    Append(save, "version = \"1.05\"\nstartdate = { year = 1200 month = march day = 5 }\n");
    Append(save, "player = { tag = AAA }\n");
    save += marriageSection_;
    save += characterSection_;
    for (std::uint32_t i = 0; i < kCountries; ++i) {
      Append(save, "title = {\n    id = k_");
      Append(save, i);
      Append(save, "\n    holder = ");
      Append(save, 1000 + static_cast<std::int64_t>(i));
      Append(save, "\n}\n");
    }
    for (std::uint32_t i = 0; i < kCountries; ++i) {
      Append(save, "country = {\n    tag = ");
      Append(save, Tag(i));
      Append(save, "\n    capital = ");
      Append(save, 1 + 7 * static_cast<std::int64_t>(i));
      Append(save, "\n    ruler_name = \"");
      save += kNames[i % std::size(kNames)];
      Append(save, "\"\n    treasury = 150.000\n}\n");
    }
    Append(save, "include = \"common/history.txt\"\n");
    return save;
  }

 private:
  std::mt19937_64 random_{kSeed};
  std::u16string characterSection_;
  std::u16string marriageSection_;
  std::size_t characters_ = 0;
  std::size_t living_ = 0;
  std::int64_t lastUnmarried_ = 0;
};

}  // namespace

SaveFile::SaveFile(const std::string& bytes, const char* suffix)
    : path_(folder_.Write(std::string("save") + suffix, bytes).string()), bytes_(bytes.size()) {}

SyntheticSave SyntheticSave::WithCharacters(std::size_t living, std::size_t dead) {
  SaveBuilder builder;
  const std::size_t total = living + dead;
  for (std::size_t k = 0; k < total; ++k) {
    // Spreads the dead evenly: character k is dead when the count of dead due so far steps up.
    builder.AddCharacter((k + 1) * dead / total == k * dead / total);
  }
  SyntheticSave save;
  save.content_ = builder.Finish();
  save.living_ = builder.Living();
  save.characters_ = builder.Characters();
  return save;
}

SyntheticSave SyntheticSave::OfSize(std::size_t bytes) {
  SaveBuilder builder;
  for (std::size_t k = 0; builder.Size() < bytes; ++k) builder.AddCharacter(k % 5 != 4);
  SyntheticSave save;
  save.content_ = builder.Finish();
  save.living_ = builder.Living();
  save.characters_ = builder.Characters();
  return save;
}

std::string SyntheticSave::Encode(SaveEncoding encoding) const {
  if (encoding == SaveEncoding::kUtf16) return Utf16LeFile(content_);
  const std::string units = Utf16Le(content_);
  char* text = ConvertUtf16LeToCodePage(reinterpret_cast<const unsigned char*>(units.data()),
                                        content_.size());
  if (text == nullptr) throw std::runtime_error("no converter for the code page");
  std::string bytes(text);
  std::free(text);
  return bytes;
}
