#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "themes/StyleManager.h"
#include "vcl/Resources.h"

namespace {

std::shared_ptr<const TStyleDescription> Read(const std::string& text, const String& file = "Test.json") {
  return ReadStyleFile(text.data(), text.size(), file);
}

// The message a malformed file is refused with, or "" when it was read.
std::string ErrorOf(const std::string& text) {
  try {
    Read(text);
    return "";
  } catch (const EStyleFileError& e) {
    return e.Message();
  }
}

struct BadFile {
  const char* What;
  std::string Text;
  const char* Message;  // the message must start with it
};

TEST(StyleFileTest, MalformedFilesAreRefusedNamingFileAndKey) {
  const std::string head = R"({"name": "T", "dark": false, )";
  const BadFile cases[] = {
      {"not JSON", "{\"name\": ", "Test.json: not valid JSON"},
      {"not an object", "[1, 2]", "Test.json: the file must hold one JSON object"},
      {"no name", R"({"dark": true})", "Test.json: name: missing"},
      {"empty name", R"({"name": " ", "dark": true})", "Test.json: name: the name must not be empty"},
      {"no dark", R"({"name": "T"})", "Test.json: dark: missing"},
      {"dark not a boolean", R"({"name": "T", "dark": "yes"})", "Test.json: dark: must be true or false"},
      {"unknown top-level key", head + R"("colours": {}})", "Test.json: colours: unknown key"},
      {"short colour", head + R"("sysColors": {"clBtnFace": "#12"}})", "Test.json: sysColors.clBtnFace: '#12' is not a colour"},
      {"not a system colour", head + R"("sysColors": {"clRed": "#123456"}})", "Test.json: sysColors.clRed: not a system colour name"},
      {"unknown style colour", head + R"("styleColors": {"scNothing": "#123456"}})", "Test.json: styleColors.scNothing: unknown name"},
      {"unknown family", head + R"("elements": {"button": {}}})", "Test.json: elements.button: unknown element family"},
      {"unknown state", head + R"("elements": {"pushButton": {"hoover": {}}}})", "Test.json: elements.pushButton.hoover: unknown state of this family"},
      {"bad fill colour", head + R"("elements": {"pushButton": {"hot": {"fill": "#GG0000"}}}})",
       "Test.json: elements.pushButton.hot.fill: '#GG0000' is not a colour"},
      {"gradient of one", head + R"("elements": {"pushButton": {"base": {"fill": {"gradient": ["#000000"]}}}}})",
       "Test.json: elements.pushButton.base.fill.gradient: must list two to eight colours"},
      {"radius out of range", head + R"("elements": {"pushButton": {"base": {"radius": 1e9}}}})",
       "Test.json: elements.pushButton.base.radius: 1000000000.0 is out of range"},
      {"unknown recipe key", head + R"("elements": {"checkBox": {"checked": {"colour": "#000000"}}}})",
       "Test.json: elements.checkBox.checked.colour: unknown key"},
      {"palette entry missing", head + R"("elements": {"edit": {"base": {"text": "$ink"}}}})",
       "Test.json: elements.edit.base.text: '$ink' is not in the palette"},
      {"system colour not given", head + R"("elements": {"edit": {"base": {"text": "clBtnText"}}}})",
       "Test.json: elements.edit.base.text: 'clBtnText' names a system colour that sysColors does not give"},
      {"metric unknown", head + R"("elements": {"checkBox": {"base": {"size": ["SM_NOTHING", 3]}}}})",
       "Test.json: elements.checkBox.base.size[0]: 'SM_NOTHING' is not a system metric"},
      {"circular likes", head + R"("elements": {"edit": {"like": "editBorder"}, "editBorder": {"like": "edit"}}})",
       "Test.json: elements."},
      {"like a family not given", head + R"("elements": {"edit": {"like": "editBorder"}}})",
       "Test.json: elements.edit.like: 'editBorder' is not given in this file"},
      {"glyph kind", head + R"("elements": {"checkBox": {"base": {"glyph": {"kind": "star"}}}}})",
       "Test.json: elements.checkBox.base.glyph.kind: 'star' is not a glyph kind"},
  };
  for (const BadFile& c : cases) {
    const std::string message = ErrorOf(c.Text);
    EXPECT_EQ(message.rfind(c.Message, 0), 0u) << c.What << ": " << message;
  }
}

// A value nested far deeper than any style needs (the 4 MiB size cap leaves room for two
// million levels) is refused with the key and place where it goes too deep, under any key.
TEST(StyleFileTest, DeepNestingIsRefusedNamingFileKeyAndPlace) {
  const size_t levels = 100000;
  const std::string deep = std::string(levels, '[') + std::string(levels, ']');
  const std::string head = R"({"name": "T", "dark": false, )";
  struct Case {
    const char* What;
    std::string Text;
    const char* Message;
  };
  const Case cases[] = {
      {"under a key read as a boolean", R"({"name": "T", "dark": )" + deep + "}",
       "Deep.json: dark[0][0][0][0][0][0][0][0][0][0][0][0][0][0][0]: nested deeper than 16 levels of arrays and "
       "objects (line 1, column 38)"},
      {"under an element's fill", head + "\n  \"elements\": {\"pushButton\": {\"base\": {\"fill\": " + deep + "}}}}",
       "Deep.json: elements.pushButton.base.fill[0][0][0][0][0][0][0][0][0][0][0][0]: nested deeper than 16 levels of "
       "arrays and objects (line 2, column 60)"},
      {"objects under an unknown key", head + R"("x": )" + std::string(levels, '{') + "}",
       "Deep.json: x...............: nested deeper than 16 levels"},
  };
  for (const Case& c : cases) {
    std::string message;
    try {
      Read(c.Text, "Deep.json");
    } catch (const EStyleFileError& e) {
      message = e.Message();
    }
    EXPECT_EQ(message.rfind(c.Message, 0), 0u) << c.What << ": " << message.substr(0, 300);
  }
  // Brackets inside strings are text, and the nesting styles use reads.
  const auto style = Read(R"({"name": "[[[[[[[[[[[[[[[[[[[[{{{{{{{{{{{{{{{{{{{{\"[[[", "dark": false,
    "elements": {"pushButton": {"base": {"fill": {"gradient": ["#000000", "#FFFFFF"]}, "size": [4, 5]}}}})");
  EXPECT_EQ(style->Name, "[[[[[[[[[[[[[[[[[[[[{{{{{{{{{{{{{{{{{{{{\"[[[");
}

// A wrong value is shown one level deep in the message, whatever it holds further down.
TEST(StyleFileTest, WrongValuesAreDescribedBriefly) {
  const std::string head = R"({"name": "T", "dark": )";
  struct Case {
    std::string Value;
    const char* Shown;
  };
  const Case cases[] = {
      {"7", "7"},
      {"[]", "[]"},
      {R"([[1, [2]], {"a": {"b": 1}}, "x"])", R"([[...], {...}, "x"])"},
      {R"({"k": [[[[[[[[[[[[1]]]]]]]]]]]]})", R"({"k": [...]})"},
      {"[\"" + std::string(30, 'a') + "\", 1, 2, 3]", "[\"aaaaaaaaaaaaaaaaaaaaaaaaaaaaaa\", 1,..."},
      {R"("ääääääääääääääääääää")", "\"ääääääääääääääääää..."},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ErrorOf(head + c.Value + "}"), std::string("Test.json: dark: must be true or false, not ") + c.Shown)
        << c.Value;
  }
}

TEST(StyleFileTest, ColoursResolvePaletteAndSystemColoursAndFamiliesInherit) {
  const auto style = Read(R"({
    "name": "Mini", "dark": true,
    "sysColors": {"clBtnFace": "#102030"},
    "palette": {"ink": "#A0B0C0", "face": "clBtnFace"},
    "elements": {
      "pushButton": {"base": {"fill": "$face", "text": "$ink"}, "hot": {"fill": {"glossy": ["#000000", "#111111", "#222222", "#333333"]}}},
      "comboReadOnly": {"like": "pushButton", "hot": {"text": "#FFFFFF80"}}
    }})");
  EXPECT_EQ(style->Name, "Mini");
  EXPECT_TRUE(style->Dark);
  EXPECT_EQ(style->SysColors[COLOR_BTNFACE], RGB(0x10, 0x20, 0x30));
  const TElementFamily& combo = style->Families.at("comboReadOnly");
  ASSERT_TRUE(combo.Base.Fill && combo.Base.Text);
  EXPECT_EQ(combo.Base.Fill->Colors[0], (TStyleRgba{0x10, 0x20, 0x30, 255}));
  EXPECT_EQ(*combo.Base.Text, (TStyleRgba{0xA0, 0xB0, 0xC0, 255}));
  // The family it is like gives the hot fill; its own hot state adds a text colour.
  const TElementRecipe& hot = combo.Facets.at("hot");
  ASSERT_TRUE(hot.Fill && hot.Text);
  EXPECT_EQ(hot.Fill->Kind, TFillKind::Glossy);
  EXPECT_EQ(*hot.Text, (TStyleRgba{0xFF, 0xFF, 0xFF, 0x80}));
}

// What the person writing a style needs to know at once: every style compiled into the
// program reads, and gives a recipe for every element family.
TEST(StyleFileTest, EveryCompiledStyleIsCompleteAndReadable) {
  TStyleManager::StyleNames();  // registers the style files
  std::vector<std::pair<String, String>> resources{{"WINDOWS", "SYSSTYLE"}, {"CLASSIC", "SYSSTYLE"}};
  for (const String& name : ResourceNames("STYLE")) resources.emplace_back(name, "STYLE");
  ASSERT_GE(resources.size(), 3u);
  for (const auto& [name, type] : resources) {
    HRSRC res = FindResource(HInstance, name, type);
    ASSERT_TRUE(res) << name;
    std::shared_ptr<const TStyleDescription> style;
    try {
      style = ReadStyleFile(LockResource(LoadResource(HInstance, res)), SizeofResource(HInstance, res), name);
    } catch (const EStyleFileError& e) {
      ADD_FAILURE() << e.Message();
      continue;
    }
    for (const String& family : ElementFamilies()) {
      EXPECT_TRUE(style->Families.count(family)) << name << " has no recipe for " << family;
    }
  }
}

TEST(StyleFileTest, LoadedFilesRegisterUnderTheirNameAndBadOnesSayWhichFile) {
  const std::string dir = testing::TempDir();
  const std::string good = dir + "/Mine.json", bad = dir + "/Broken.json";
  std::ofstream(good) << R"({"name": "Mine", "dark": false, "elements": {"checkBox": {"base": {"fill": "#FF0000"}}}})";
  std::ofstream(bad) << R"({"name": "Broken", "dark": false, "elements": {"checkBox": {"base": {"fill": 7}}}})";
  EXPECT_TRUE(TStyleManager::IsValidStyle(good));
  EXPECT_FALSE(TStyleManager::IsValidStyle(bad));
  EXPECT_FALSE(TStyleManager::IsValidStyle(dir + "/none.json"));
  // Registered once per process: a repeated run of the test finds it there.
  if (!TStyleManager::Style("Mine")) {
    EXPECT_EQ(TStyleManager::LoadFromFile(good), "Mine");
  }
  EXPECT_EQ(TStyleManager::StyleNames().back(), "Mine");
  EXPECT_THROW(TStyleManager::LoadFromFile(good), EDuplicateStyleException);
  try {
    TStyleManager::LoadFromFile(bad);
    ADD_FAILURE() << "no exception";
  } catch (const EStyleFileError& e) {
    EXPECT_EQ(e.Message().rfind("Broken.json: elements.checkBox.base.fill:", 0), 0u) << e.Message();
  }
  EXPECT_THROW(TStyleManager::LoadFromFile(dir + "/none.json"), EFOpenError);

  // What the file leaves out comes from the system style: sizes and the other families.
  TCustomStyleServices* mine = TStyleManager::Style("Mine");
  ASSERT_TRUE(mine);
  SIZE size{};
  ASSERT_TRUE(mine->GetElementSize(nullptr, mine->GetElementDetails(tbCheckBoxCheckedNormal), esActual, size));
  EXPECT_EQ(size, (SIZE{13, 13}));
  TColor fill = 0, text = 0;
  EXPECT_TRUE(mine->GetElementColor(mine->GetElementDetails(tbCheckBoxCheckedNormal), ecFillColor, fill));
  EXPECT_EQ(fill, TColor(RGB(0xFF, 0, 0)));
  EXPECT_TRUE(mine->GetElementColor(mine->GetElementDetails(tbPushButtonNormal), ecTextColor, text));
  EXPECT_EQ(text, TColor(TStyleManager::SystemStyle()->GetStyleFontColor(sfButtonTextNormal)));
  std::remove(good.c_str());
  std::remove(bad.c_str());
}

}  // namespace
