#include "save_builder.h"

std::string CharacterEntry(const CharacterText& c) {
  std::string s = "character = {\n    id = { type = 41 id = " + std::to_string(c.id) + " }\n";
  s += "    tag = " + std::string(c.tag) + "    name = \"" + std::string(c.name) + "\"\n";
  s += "    culture = frankish\n    birthdate = \"" + std::string(c.birth) + "\"\n";
  s += "    gender = " + std::string(c.gender) + "\n" + std::string(c.beforeReligion);
  s += "    religion = " + std::string(c.religion) + "\n" + std::string(c.beforeAttributes);
  s += "    attributes = {\n";
  static constexpr std::array<std::string_view, 4> kNames = {"martial", "diplomacy", "intrigue",
                                                             "stewardship"};
  for (std::size_t i = 0; i < 4; ++i) {
    s += "        " + std::string(kNames[i]) + " = " + std::string(c.attributes[i]) + "\n";
  }
  return s + "    }\n" + std::string(c.after) + "}\n";
}

std::string MarriageEntry(int first, int second, std::string_view after) {
  return "marrige = {\n    husband = { type = 41 id = " + std::to_string(first) +
         " }\n    wife = { type = 41 id = " + std::to_string(second) + " } " + std::string(after) +
         "\n}\n";
}

std::string SaveWith(std::string_view characters, std::string_view marriages,
                     std::string_view countries, std::string_view date) {
  std::string s = "version = \"1.05\"\n" + std::string(date);
  s += marriages.empty() ? "marrige = {\n}\n" : std::string(marriages);
  s += std::string(characters) + "title = {\n    id = k_france\n}\n";
  return s + std::string(countries) + "include = \"common/history.txt\"\n";
}

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

  // A marriage that marks nobody comes first.
  std::string marriageText = MarriageEntry(-1, -2, "divorced = yes");
  for (const auto& [husband, wife] : wed) marriageText += MarriageEntry(husband, wife);
  std::string characterText;
  for (std::size_t i = 0; i < characters.size(); ++i) {
    const TestCharacter& c = characters[i];
    const std::string birth = std::to_string((1200 - c.age) * 10000 + 205);
    const std::string gender(1, c.gender);
    const std::string tag = c.tag + "\n";
    const std::string attributes[] = {std::to_string(c.martial), std::to_string(c.diplomacy),
                                      std::to_string(c.intrigue), std::to_string(c.stewardship)};
    CharacterText entry;
    entry.id = ids[i];
    entry.name = c.name;
    entry.birth = birth;
    entry.gender = gender;
    entry.religion = c.religion;
    entry.tag = tag;
    if (c.dead) entry.beforeAttributes = "    deathdate = \"11990101\"\n";
    entry.attributes = {attributes[0], attributes[1], attributes[2], attributes[3]};
    characterText += CharacterEntry(entry);
  }
  return SaveWith(characterText, marriageText);
}
