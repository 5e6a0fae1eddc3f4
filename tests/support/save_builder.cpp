#include "save_builder.h"

std::string TestSaveText(const std::vector<TestCharacter>& characters,
                         const std::vector<std::pair<int, int>>& marriages) {
  std::vector<std::pair<int, int>> wed = marriages;
  std::vector<int> ids;
  int waiting = 0;
  for (std::size_t i = 0; i < characters.size(); ++i) {
    ids.push_back(characters[i].id != 0 ? characters[i].id : static_cast<int>(i) + 1);
    if (!characters[i].married) continue;
    if (waiting == 0) {
      waiting = ids.back();
    } else {
      wed.emplace_back(waiting, ids.back());
      waiting = 0;
    }
  }

  std::string text = "version = \"1.05\"\nstartdate = { year = 1200 month = march day = 5 }\n";
  // The scan needs a marriage section; this entry marks nobody.
  text += "marrige = {\n    husband = { type = 41 id = -1 }\n    wife = { type = 41 id = -2 } "
          "divorced = yes\n}\n";
  for (const auto& [husband, wife] : wed) {
    text += "marrige = {\n    husband = { type = 41 id = " + std::to_string(husband) +
            " }\n    wife = { type = 41 id = " + std::to_string(wife) + " } status = wed\n}\n";
  }
  for (std::size_t i = 0; i < characters.size(); ++i) {
    const TestCharacter& c = characters[i];
    text += "character = {\n    id = { type = 41 id = " + std::to_string(ids[i]) + " }\n";
    text += "    tag = " + c.tag + "\n    name = \"" + c.name + "\"\n";
    text += "    birthdate = \"" + std::to_string((1200 - c.age) * 10000 + 205) + "\"\n";
    text += std::string("    gender = ") + c.gender + "\n    religion = " + c.religion + "\n";
    if (c.dead) text += "    deathdate = \"11990101\"\n";
    text += "    attributes = {\n        martial = " + std::to_string(c.martial) +
            "\n        diplomacy = " + std::to_string(c.diplomacy) +
            "\n        intrigue = " + std::to_string(c.intrigue) +
            "\n        stewardship = " + std::to_string(c.stewardship) + "\n    }\n}\n";
  }
  text += "title = {\n    id = k_france\n}\n";
  text += "country = {\n    tag = FRA\n    capital = 120\n}\n";
  text += "country = {\n    tag = ENG\n    capital = 236\n}\n";
  text += "country = {\n    tag = BYZ\n    capital = 151\n}\n";
  text += "include = \"common/history.txt\"\n";
  return text;
}

std::string Utf16Le(std::u16string_view text) {
  std::string bytes;
  bytes.reserve(text.size() * 2);
  for (const char16_t unit : text) {
    bytes += static_cast<char>(unit & 0xFF);
    bytes += static_cast<char>(unit >> 8);
  }
  return bytes;
}

std::u16string WidenBytes(std::string_view bytes) {
  std::u16string units;
  units.reserve(bytes.size());
  for (const char c : bytes) units += static_cast<char16_t>(static_cast<unsigned char>(c));
  return units;
}
