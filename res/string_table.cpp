#include "res/string_table.h"

#include "res/resource.h"

wxString LoadResourceString(int id) {
  switch (id) {
    case IDS_ABOUTBOX:
      return L"Pellarin のﾊﾞｰｼﾞｮﾝ情報(&A)...";
    default:
      return {};
  }
}
