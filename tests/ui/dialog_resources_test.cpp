// The dialog templates as built: every control with its identifier, class, text, place and size
// in dialog units, in template order (which is the tab order); the dialogs' captions, fonts and
// sizes; the icon.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <wx/bmpbuttn.h>
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/listctrl.h>
#include <wx/slider.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>

#include "app/about_dlg.h"
#include "res/resource.h"
#include "ui/dialog_resources.h"
#include "ui/roster_dlg.h"
#include "support/window_test_support.h"

namespace {

struct TemplateControl {
  int id;
  const char* name;
  wxClassInfo* kind;
  const wchar_t* text;  // null for controls that show no text of their own
  wxRect box;           // dialog units
};

const std::vector<TemplateControl> kRosterControls = {
    {IDOK, "IDOK", wxCLASSINFO(wxButton), L"終了", {315, 5, 50, 15}},
    {IDC_OPEN_FILE, "IDC_OPEN_FILE", wxCLASSINFO(wxButton), L"ファイルを開く", {5, 5, 50, 15}},
    {IDC_MIN_AGE_SLIDER, "IDC_MIN_AGE_SLIDER", wxCLASSINFO(wxSlider), nullptr, {55, 30, 310, 25}},
    {IDC_MIN_AGE_LABEL, "IDC_MIN_AGE_LABEL", wxCLASSINFO(wxStaticText), L"16歳以上",
     {10, 40, 40, 10}},
    {IDC_MAX_AGE_SLIDER, "IDC_MAX_AGE_SLIDER", wxCLASSINFO(wxSlider), nullptr, {55, 55, 310, 25}},
    {IDC_MAX_AGE_LABEL, "IDC_MAX_AGE_LABEL", wxCLASSINFO(wxStaticText), L"30歳以下",
     {10, 65, 40, 10}},
    {IDC_GENDER_COMBO, "IDC_GENDER_COMBO", wxCLASSINFO(wxChoice), nullptr, {5, 85, 50, 60}},
    {IDC_RELIGION_COMBO, "IDC_RELIGION_COMBO", wxCLASSINFO(wxChoice), nullptr, {60, 85, 50, 95}},
    {IDC_MARITAL_COMBO, "IDC_MARITAL_COMBO", wxCLASSINFO(wxChoice), nullptr, {115, 85, 50, 60}},
    {IDC_SEARCH, "IDC_SEARCH", wxCLASSINFO(wxButton), L"検索", {175, 85, 50, 15}},
    {IDC_ROSTER_LIST, "IDC_ROSTER_LIST", wxCLASSINFO(wxListCtrl), nullptr, {5, 105, 360, 150}},
    {IDC_AUTO_OPEN_CHECK, "IDC_AUTO_OPEN_CHECK", wxCLASSINFO(wxCheckBox), L"自動的に開く",
     {60, 10, 60, 10}},
    {IDC_SEARCH_ON_OPEN_CHECK, "IDC_SEARCH_ON_OPEN_CHECK", wxCLASSINFO(wxCheckBox),
     L"開いたときに検索する", {120, 10, 85, 10}},
};

wxRect DialogUnitsToPixels(wxWindow& dialog, const wxRect& box) {
  return wxRect(dialog.ConvertDialogToPixels(box.GetPosition()),
                dialog.ConvertDialogToPixels(box.GetSize()));
}

void ExpectTemplateFont(const wxWindow& dialog) {
  const wxFont font = dialog.GetFont();
  const std::vector<wxString> faces = {L"ＭＳ Ｐゴシック", "MS PGothic", "IPAPGothic",
                                       "IPAGothic"};
  EXPECT_NE(std::find(faces.begin(), faces.end(), font.GetFaceName()), faces.end())
      << font.GetFaceName();
  EXPECT_EQ(font.GetPointSize(), 9);
}

std::vector<wxString> ChoiceItems(wxWindow* window) {
  auto* choice = dynamic_cast<wxChoice*>(window);
  std::vector<wxString> items;
  for (unsigned i = 0; i < choice->GetCount(); ++i) items.push_back(choice->GetString(i));
  return items;
}

class RosterTemplateTest : public testing::Test {
 protected:
  FakeServices services;
  CRosterDlg dialog{nullptr, services};
};

TEST_F(RosterTemplateTest, DialogHasItsIdentifierCaptionFontAndSize) {
  EXPECT_EQ(dialog.GetId(), IDD_ROSTER_DIALOG);
  EXPECT_EQ(dialog.GetTitle(), "Pellarin Ver. " PELLARIN_RELEASE);
  ExpectTemplateFont(dialog);
  EXPECT_EQ(dialog.GetClientSize(), dialog.ConvertDialogToPixels(wxSize(370, 261)));
  EXPECT_TRUE(HasSizingBorder(dialog));
  EXPECT_TRUE(dialog.HasFlag(wxCLOSE_BOX));
  EXPECT_FALSE(dialog.HasFlag(wxMINIMIZE_BOX));
  EXPECT_FALSE(dialog.HasFlag(wxMAXIMIZE_BOX));
}

TEST_F(RosterTemplateTest, ControlsCarryTheirIdentifiersTextsAndPlacesInTemplateOrder) {
  const wxWindowList& children = dialog.GetChildren();
  ASSERT_EQ(children.size(), kRosterControls.size());
  auto child = children.begin();
  for (const TemplateControl& expected : kRosterControls) {
    SCOPED_TRACE(expected.name);
    wxWindow* control = *child++;
    EXPECT_EQ(control->GetId(), expected.id);
    EXPECT_EQ(control->GetName(), expected.name);
    EXPECT_EQ(dialog.FindWindow(expected.id), control);
    EXPECT_TRUE(control->IsKindOf(expected.kind));
    if (expected.text != nullptr) {
      EXPECT_EQ(control->GetLabel(), expected.text);
    }

    const wxRect box = DialogUnitsToPixels(dialog, expected.box);
    const wxRect placed = control->GetRect();
    EXPECT_EQ(placed.x, box.x);
    EXPECT_EQ(placed.width, box.width);
    if (control->IsKindOf(wxCLASSINFO(wxChoice))) {
      // The template's height is that of the opened list; the closed list is the toolkit's own.
      EXPECT_EQ(placed.y, box.y);
      EXPECT_LT(placed.height, box.height);
    } else if (control->IsKindOf(wxCLASSINFO(wxCheckBox))) {
      // At least as high as the template, and on the same middle line.
      EXPECT_GE(placed.height, box.height);
      EXPECT_LE(std::abs((placed.y + placed.height / 2) - (box.y + box.height / 2)), 1);
    } else {
      EXPECT_EQ(placed.y, box.y);
      EXPECT_EQ(placed.height, box.height);
    }
  }
}

TEST_F(RosterTemplateTest, ControlsHaveTheTemplatesStyles) {
  for (int id : {IDC_MIN_AGE_SLIDER, IDC_MAX_AGE_SLIDER}) {
    wxWindow* slider = dialog.FindWindow(id);
    EXPECT_TRUE(slider->HasFlag(wxSL_HORIZONTAL));
    EXPECT_TRUE(slider->HasFlag(wxSL_AUTOTICKS));
    EXPECT_TRUE(slider->HasFlag(wxSL_BOTH));
  }
  wxWindow* list = dialog.FindWindow(IDC_ROSTER_LIST);
  EXPECT_TRUE(list->HasFlag(wxLC_REPORT));
  EXPECT_FALSE(list->HasFlag(wxLC_NO_HEADER));
  EXPECT_FALSE(list->HasFlag(wxLC_SINGLE_SEL));
  EXPECT_TRUE(dialog.FindWindow(IDC_MARITAL_COMBO)->HasFlag(wxCB_SORT));
  EXPECT_FALSE(dialog.FindWindow(IDC_GENDER_COMBO)->HasFlag(wxCB_SORT));
  EXPECT_FALSE(dialog.FindWindow(IDC_RELIGION_COMBO)->HasFlag(wxCB_SORT));
}

TEST_F(RosterTemplateTest, ListsHoldTheirItemsAndTheMaritalListShowsThemSorted) {
  EXPECT_EQ(ChoiceItems(dialog.FindWindow(IDC_GENDER_COMBO)),
            (std::vector<wxString>{L"すべて", L"男(m)", L"女(f)"}));
  EXPECT_EQ(ChoiceItems(dialog.FindWindow(IDC_RELIGION_COMBO)),
            (std::vector<wxString>{L"すべて", L"カトリック(c)", L"正教(o)", L"異教(p)",
                                   L"イスラム(m)"}));
  EXPECT_EQ(ChoiceItems(dialog.FindWindow(IDC_MARITAL_COMBO)),
            (std::vector<wxString>{L"すべて", L"既婚", L"未婚"}));
}

TEST(AboutTemplateTest, BoxHasItsIdentifierCaptionTextsAndPlaces) {
  CAboutDlg about;
  EXPECT_EQ(about.GetId(), IDD_ABOUTBOX);
  EXPECT_EQ(about.GetTitle(), L"Pellarinのﾊﾞｰｼﾞｮﾝ情報");
  ExpectTemplateFont(about);
  EXPECT_EQ(about.GetClientSize(), about.ConvertDialogToPixels(wxSize(235, 55)));
  EXPECT_FALSE(HasSizingBorder(about));

  const wxWindowList& children = about.GetChildren();
  ASSERT_EQ(children.size(), 4u);
  auto child = children.begin();

  auto* icon = dynamic_cast<wxStaticBitmap*>(*child++);
  ASSERT_NE(icon, nullptr);
  EXPECT_EQ(icon->GetPosition(), about.ConvertDialogToPixels(wxPoint(11, 17)));
  EXPECT_EQ(icon->GetSize(), wxSize(32, 32));
  EXPECT_EQ(icon->GetBitmap().GetSize(), wxSize(32, 32));

  const std::vector<std::pair<const wchar_t*, wxPoint>> texts = {
      {L"Pellarin Version 1.0", wxPoint(40, 10)},
      {L"セーブファイルの人物一覧", wxPoint(40, 25)},
  };
  for (const auto& [text, position] : texts) {
    auto* label = dynamic_cast<wxStaticText*>(*child++);
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->GetLabel(), text);
    EXPECT_EQ(label->GetRect(), DialogUnitsToPixels(about, wxRect(position, wxSize(119, 8))));
    // The statics have no identifier of their own that anything could address.
    EXPECT_LT(label->GetId(), 0);
  }
  EXPECT_LT(icon->GetId(), 0);

  auto* ok = dynamic_cast<wxButton*>(*child);
  ASSERT_NE(ok, nullptr);
  EXPECT_EQ(ok->GetId(), IDOK);
  EXPECT_EQ(ok->GetLabel(), "OK");
  EXPECT_EQ(ok->GetRect(), DialogUnitsToPixels(about, wxRect(178, 7, 50, 14)));
}

TEST(MainFrameIconTest, ComesInBothSizes) {
  const wxIconBundle icons = LoadMainFrameIcons();
  EXPECT_EQ(icons.GetIconCount(), 2u);
  EXPECT_EQ(icons.GetIcon(wxSize(32, 32), wxIconBundle::FALLBACK_NONE).GetSize(), wxSize(32, 32));
  EXPECT_EQ(icons.GetIcon(wxSize(16, 16), wxIconBundle::FALLBACK_NONE).GetSize(), wxSize(16, 16));
}

// The release that players see and the versions that stay as the program has always had them:
// the caption carries the build's release, the about box "Version 1.0", and the version block
// 1.0.0.1.
TEST(Versions, CaptionAboutBoxAndVersionBlockEachSayTheirOwn) {
  EXPECT_STREQ(PELLARIN_RELEASE, "1.03.01");
  FakeServices services;
  const CRosterDlg dialog(nullptr, services);
  EXPECT_EQ(dialog.GetTitle(), "Pellarin Ver. 1.03.01");

  CAboutDlg about;
  bool saysVersion = false;
  for (const wxWindow* child : about.GetChildren()) {
    saysVersion |= child->GetLabel() == "Pellarin Version 1.0";
  }
  EXPECT_TRUE(saysVersion);

  const std::string script = ReadFileBytes(PELLARIN_RESOURCE_SCRIPT);
  for (const char* line : {" FILEVERSION 1,0,0,1\n", " PRODUCTVERSION 1,0,0,1\n",
                           "VALUE \"FileVersion\", \"1, 0, 0, 1\\0\"",
                           "VALUE \"ProductVersion\", \"1, 0, 0, 1\\0\""}) {
    EXPECT_NE(script.find(line), std::string::npos) << line;
  }
}

}  // namespace
