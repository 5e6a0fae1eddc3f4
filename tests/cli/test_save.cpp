#include "test_save.h"


std::string TestSaveText(const std::vector<TestCharacter>& characters,
                         const std::vector<std::pair<int, int>>& married) {
  std::string text = "version = \"1.05\"\nstartdate = { year = 1200 month = march day = 5 }\n";
  // The scan needs a marriage section; this entry marks nobody.
  text += "marrige = {\n    husband = { type = 41 id = -1 }\n    wife = { type = 41 id = -2 } "
          "divorced = yes\n}\n";
  for (const auto& [husband, wife] : married) {
    text += "marrige = {\n    husband = { type = 41 id = " + std::to_string(husband) +
            " }\n    wife = { type = 41 id = " + std::to_string(wife) + " } status = wed\n}\n";
  }
  for (const TestCharacter& c : characters) {
    text += "character = {\n    id = { type = 41 id = " + std::to_string(c.id) + " }\n";
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
  text += "country = {\n    tag = BYZ\n    capital = 151\n}\n";
  text += "include = \"common/history.txt\"\n";
  return text;
}
