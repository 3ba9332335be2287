#include <gtest/gtest.h>

#include <vector>

#include "vcl/Classes.h"

namespace {

std::vector<String> Items(const TStrings& s) {
  std::vector<String> v;
  for (int i = 0; i < s.Count(); ++i) v.push_back(s.Strings(i));
  return v;
}

TStringList* Filled(TStringList& list, std::initializer_list<const char*> items) {
  for (const char* s : items) list.Add(s);
  return &list;
}

TEST(StringList, SortedListHonoursDuplicates) {
  struct Case {
    TDuplicates dup;
    std::vector<String> items;
    int errors;
  };
  const Case cases[] = {
      {dupIgnore, {"a", "b", "c"}, 0},
      {dupAccept, {"a", "a", "B", "b", "c"}, 0},
      {dupError, {"a", "b", "c"}, 2},
  };
  for (const Case& c : cases) {
    TStringList list;
    list.SetSorted(true);
    list.SetDuplicates(c.dup);
    int errors = 0;
    for (const char* s : {"b", "a", "B", "c", "a"}) {
      try {
        list.Add(s);
      } catch (const EStringListError& e) {
        EXPECT_EQ(e.Message(), "String list does not allow duplicates");
        ++errors;
      }
    }
    EXPECT_EQ(Items(list), c.items) << int(c.dup);
    EXPECT_EQ(errors, c.errors) << int(c.dup);
  }
  TStringList list;
  list.SetSorted(true);
  Filled(list, {"b", "d"});
  EXPECT_EQ(list.Add("D"), 1);  // an ignored duplicate answers where it is
}

TEST(StringList, SortedListSearchesAndRefusesPlacement) {
  TStringList list;
  Filled(list, {"pear", "Apple", "fig", "banana"});
  list.SetSorted(true);
  EXPECT_EQ(Items(list), (std::vector<String>{"Apple", "banana", "fig", "pear"}));
  int index = -1;
  EXPECT_TRUE(list.Find("FIG", index));
  EXPECT_EQ(index, 2);
  EXPECT_FALSE(list.Find("cherry", index));
  EXPECT_EQ(index, 2);  // where it would go
  EXPECT_EQ(list.IndexOf("apple"), 0);
  EXPECT_EQ(list.IndexOf("kiwi"), -1);
  try {
    list.Insert(0, "x");
    ADD_FAILURE();
  } catch (const EStringListError& e) {
    EXPECT_EQ(e.Message(), "Operation not allowed on sorted list");
  }
  EXPECT_THROW(list.SetStrings(0, "x"), EStringListError);
  EXPECT_THROW(list.Move(0, 1), EStringListError);

  // Case-sensitive order puts a letter's lower case before its upper case.
  TStringList cs;
  Filled(cs, {"b", "A", "a", "B"});
  cs.SetCaseSensitive(true);
  cs.SetSorted(true);
  EXPECT_EQ(Items(cs), (std::vector<String>{"a", "A", "b", "B"}));
  EXPECT_EQ(cs.IndexOf("B"), 3);
}

TEST(StringList, NamesAndValues) {
  TStringList list;
  Filled(list, {"a=1", "B=2", "plain", "c=x=y"});
  EXPECT_EQ(list.Names(0), "a");
  EXPECT_EQ(list.Names(2), "");
  EXPECT_EQ(list.Values("b"), "2");  // names compare without case
  EXPECT_EQ(list.Values("c"), "x=y");
  EXPECT_EQ(list.Values("plain"), "");
  EXPECT_EQ(list.IndexOfName("C"), 3);
  EXPECT_EQ(list.ValueFromIndex(3), "x=y");
  list.SetValues("a", "10");
  list.SetValues("d", "4");
  list.SetValues("B", "");
  EXPECT_EQ(Items(list), (std::vector<String>{"a=10", "plain", "c=x=y", "d=4"}));
  list.SetNameValueSeparator(':');
  list.AddPair("k", "v");
  EXPECT_EQ(list.Values("k"), "v");
}

TEST(StringList, TextSplitsAtEveryLineEndAndJoinsWithTheLineBreak) {
  TStringList list;
  list.SetText("a\r\nb\n\nc\rd");
  EXPECT_EQ(Items(list), (std::vector<String>{"a", "b", "", "c", "d"}));
  EXPECT_EQ(list.Text(), "a\r\nb\r\n\r\nc\r\nd\r\n");
  list.SetText("x\r\n");
  EXPECT_EQ(Items(list), (std::vector<String>{"x"}));
  list.SetText("");
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(list.Text(), "");

  list.SetText("a\nb");
  list.SetTrailingLineBreak(false);
  EXPECT_EQ(list.Text(), "a\r\nb");
  list.SetLineBreak("|");
  list.SetText("1|2||3|");
  EXPECT_EQ(Items(list), (std::vector<String>{"1", "2", "", "3"}));
}

TEST(StringList, CommaTextRoundTrips) {
  const std::vector<std::vector<String>> lists = {
      {"a", "b c", "d,e", "say \"hi\"", "", "tab\there"},
      {""},
      {"x"},
      {" lead", "trail "},
  };
  for (const auto& items : lists) {
    TStringList a, b;
    for (const String& s : items) a.Add(s);
    b.SetCommaText(a.CommaText());
    EXPECT_EQ(Items(b), items) << a.CommaText();
  }
  TStringList list;
  for (const char* s : {"a b", "c", "d\"e", ""}) list.Add(s);
  // An empty item is written as nothing, unless it is the only one.
  EXPECT_EQ(list.CommaText(), "\"a b\",c,\"d\"\"e\",");
  TStringList one;
  one.Add("");
  EXPECT_EQ(one.CommaText(), "\"\"");
}

TEST(StringList, DelimitedTextParsing) {
  struct Case {
    const char* text;
    char delimiter;
    bool strict;
    std::vector<String> items;
  };
  const Case cases[] = {
      {"a b,c", ',', false, {"a", "b", "c"}},  // blanks separate too
      {"  a ,  b  ", ',', false, {"a", "b"}},
      {"a,", ',', false, {"a", ""}},
      {"\"x,y\",\"q\"\"q\"", ',', false, {"x,y", "q\"q"}},
      {"a b;c", ';', true, {"a b", "c"}},
      {"a;;b", ';', true, {"a", "", "b"}},
      {"", ',', false, {}},
  };
  for (const Case& c : cases) {
    TStringList list;
    list.SetDelimiter(c.delimiter);
    list.SetStrictDelimiter(c.strict);
    list.SetDelimitedText(c.text);
    EXPECT_EQ(Items(list), c.items) << c.text;
  }
  // The comma form leaves the list's own settings alone.
  TStringList list;
  list.SetDelimiter(';');
  list.SetStrictDelimiter(true);
  list.SetCommaText("a,b");
  EXPECT_EQ(list.Delimiter(), ';');
  EXPECT_TRUE(list.StrictDelimiter());
  EXPECT_EQ(list.DelimitedText(), "a;b");
}

TEST(StringList, ChangeEventsOncePerChangeOrUpdate) {
  TStringList list;
  int changing = 0, changed = 0;
  list.OnChanging = [&](TObject* s) {
    EXPECT_EQ(s, &list);
    ++changing;
  };
  list.OnChange = [&](TObject*) { ++changed; };
  list.Add("a");
  list.Add("b");
  list.Exchange(0, 1);
  EXPECT_EQ(changing, 3);
  EXPECT_EQ(changed, 3);

  changing = changed = 0;
  list.BeginUpdate();
  list.BeginUpdate();
  list.Add("c");
  list.Delete(0);
  list.EndUpdate();
  EXPECT_EQ(changed, 0);
  list.EndUpdate();
  EXPECT_EQ(changing, 1);
  EXPECT_EQ(changed, 1);

  changing = changed = 0;
  TStringList other;
  Filled(other, {"x", "y", "z"});
  list.Assign(&other);
  EXPECT_EQ(changed, 1);
  EXPECT_EQ(Items(list), Items(other));
}

TEST(StringList, IndexErrorsNameTheIndex) {
  TStringList list;
  Filled(list, {"a", "b"});
  try {
    list.Strings(5);
    ADD_FAILURE();
  } catch (const EStringListError& e) {
    EXPECT_EQ(e.Message(), "List index out of bounds (5)");
  }
  EXPECT_THROW(list.Delete(-1), EListError);
  EXPECT_THROW(list.Insert(3, "x"), EStringListError);
  list.Insert(2, "c");  // at the end is fine
  EXPECT_EQ(list.Count(), 3);
}

class TCounted : public TObject {
 public:
  explicit TCounted(int* freed) : FFreed(freed) {}
  ~TCounted() override { ++*FFreed; }

 private:
  int* FFreed;
};

TEST(StringList, ObjectsTravelWithTheirStringsAndOwnedOnesAreFreed) {
  int freed = 0;
  {
    TStringList list(true);
    auto* a = new TCounted(&freed);
    auto* b = new TCounted(&freed);
    list.AddObject("a", a);
    list.AddObject("b", b);
    list.Add("c");
    list.Move(0, 2);
    EXPECT_EQ(Items(list), (std::vector<String>{"b", "c", "a"}));
    EXPECT_EQ(list.Objects(2), a);
    EXPECT_EQ(list.IndexOfObject(b), 0);
    EXPECT_EQ(freed, 0);  // moving does not free
    list.Delete(0);
    EXPECT_EQ(freed, 1);
    list.AddObject("d", new TCounted(&freed));
  }
  EXPECT_EQ(freed, 3);
}

int ByLength(TStringList* list, int a, int b) { return int(list->Strings(a).size()) - int(list->Strings(b).size()); }

TEST(StringList, CustomSortIsStable) {
  TStringList list;
  Filled(list, {"ccc", "b", "aa", "d", "ee"});
  list.CustomSort(ByLength);
  EXPECT_EQ(Items(list), (std::vector<String>{"b", "d", "aa", "ee", "ccc"}));
}

TEST(StringList, StreamsHoldUtf8Text) {
  TStringList list;
  Filled(list, {"één", "two"});
  TMemoryStream stream;
  list.SaveToStream(&stream);
  EXPECT_EQ(stream.Size(), int64_t(String("één\r\ntwo\r\n").size()));

  TStringStream withBom("\xEF\xBB\xBFone\ntwo");
  TStringList loaded;
  loaded.LoadFromStream(&withBom);
  EXPECT_EQ(Items(loaded), (std::vector<String>{"one", "two"}));
  stream.SetPosition(0);
  loaded.LoadFromStream(&stream);
  EXPECT_EQ(Items(loaded), Items(list));
}

}  // namespace
