#pragma once

#include <string>
#include <vector>

#include "support/temp_folder.h"

// One character of a save written for a test; its age is counted at the save's start date,
// 5 March 1200.
struct TestCharacter {
  int id = 0;
  std::string tag = "FRA";
  std::string name;  // bytes in code page 932
  int age = 20;
  char gender = 'm';
  std::string religion = "catholic";
  int martial = 0;
  int diplomacy = 0;
  int intrigue = 0;
  int stewardship = 0;
  bool dead = false;
};

// The text of a save with the given characters, the countries FRA (capital 120) and BYZ (151),
// a marriage that does not count, and a marriage of each pair in `married`.
std::string TestSaveText(const std::vector<TestCharacter>& characters,
                         const std::vector<std::pair<int, int>>& married = {});
