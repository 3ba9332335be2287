#include "Strings.h"

#include <algorithm>
#include <numeric>

#include "Streams.h"

namespace {

// BeginUpdate/EndUpdate that survives an exception in between.
class UpdateScope {
 public:
  explicit UpdateScope(TStrings* s) : FStrings(s) { FStrings->BeginUpdate(); }
  ~UpdateScope() { FStrings->EndUpdate(); }
  UpdateScope(const UpdateScope&) = delete;
  UpdateScope& operator=(const UpdateScope&) = delete;

 private:
  TStrings* FStrings;
};

String ExtractName(const String& s, char separator) {
  const size_t p = s.find(separator);
  return p == String::npos ? String() : s.substr(0, p);
}

}  // namespace

// ---- TStrings ----

int TStrings::Add(const String& S) {
  const int result = GetCount();
  Insert(result, S);
  return result;
}

int TStrings::AddObject(const String& S, TObject* AObject) {
  const int result = Add(S);
  PutObject(result, AObject);
  return result;
}

int TStrings::AddPair(const String& Name, const String& Value) { return Add(Name + FNameValueSeparator + Value); }

void TStrings::AddStrings(const TStrings* Strings) {
  if (!Strings) return;
  UpdateScope update(this);
  for (int i = 0; i < Strings->Count(); ++i) AddObject(Strings->Get(i), Strings->GetObject(i));
}

void TStrings::InsertObject(int Index, const String& S, TObject* AObject) {
  Insert(Index, S);
  PutObject(Index, AObject);
}

void TStrings::Exchange(int Index1, int Index2) {
  UpdateScope update(this);
  TObject* tempObject = GetObject(Index1);
  const String tempString = Get(Index1);
  Put(Index1, Get(Index2));
  PutObject(Index1, GetObject(Index2));
  Put(Index2, tempString);
  PutObject(Index2, tempObject);
}

void TStrings::Move(int CurIndex, int NewIndex) {
  if (CurIndex == NewIndex) return;
  UpdateScope update(this);
  const String tempString = Get(CurIndex);
  TObject* tempObject = GetObject(CurIndex);
  // Cleared first so that a list owning its objects does not free the one that moves.
  PutObject(CurIndex, nullptr);
  Delete(CurIndex);
  InsertObject(NewIndex, tempString, tempObject);
}

int TStrings::IndexOf(const String& S) const {
  for (int i = 0; i < GetCount(); ++i)
    if (CompareStrings(Get(i), S) == 0) return i;
  return -1;
}

int TStrings::IndexOfName(const String& Name) const {
  for (int i = 0; i < GetCount(); ++i) {
    const String s = Get(i);
    const size_t p = s.find(FNameValueSeparator);
    if (p != String::npos && CompareStrings(s.substr(0, p), Name) == 0) return i;
  }
  return -1;
}

int TStrings::IndexOfObject(const TObject* AObject) const {
  for (int i = 0; i < GetCount(); ++i)
    if (GetObject(i) == AObject) return i;
  return -1;
}

bool TStrings::Equals(const TStrings* Strings) const {
  if (!Strings || Strings->Count() != Count()) return false;
  for (int i = 0; i < Count(); ++i)
    if (Get(i) != Strings->Get(i)) return false;
  return true;
}

String TStrings::Names(int Index) const { return ExtractName(Get(Index), FNameValueSeparator); }

String TStrings::Values(const String& Name) const {
  const int i = IndexOfName(Name);
  if (i < 0) return String();
  const String s = Get(i);
  return s.substr(s.find(FNameValueSeparator) + 1);
}

void TStrings::SetValues(const String& Name, const String& Value) {
  int i = IndexOfName(Name);
  if (!Value.empty()) {
    if (i < 0) i = Add(String());
    Put(i, Name + FNameValueSeparator + Value);
  } else if (i >= 0) {
    Delete(i);
  }
}

String TStrings::ValueFromIndex(int Index) const {
  if (Index < 0) return String();
  const String s = Get(Index);
  const size_t p = s.find(FNameValueSeparator);
  return p == String::npos ? String() : s.substr(p + 1);
}

void TStrings::SetValueFromIndex(int Index, const String& Value) {
  if (!Value.empty()) {
    if (Index < 0) Index = Add(String());
    Put(Index, Names(Index) + FNameValueSeparator + Value);
  } else if (Index >= 0) {
    Delete(Index);
  }
}

String TStrings::GetTextStr() const {
  String result;
  for (int i = 0; i < GetCount(); ++i) {
    result += Get(i);
    result += FLineBreak;
  }
  if (!FTrailingLineBreak && GetCount() > 0) result.resize(result.size() - FLineBreak.size());
  return result;
}

void TStrings::SetTextStr(const String& Value) {
  UpdateScope update(this);
  Clear();
  size_t p = 0;
  if (FLineBreak == sLineBreak || FLineBreak.empty()) {
    // Any of CR LF, LF and CR ends a line.
    while (p < Value.size()) {
      const size_t start = p;
      while (p < Value.size() && Value[p] != '\n' && Value[p] != '\r') ++p;
      Add(Value.substr(start, p - start));
      if (p < Value.size() && Value[p] == '\r') ++p;
      if (p < Value.size() && Value[p] == '\n') ++p;
    }
    return;
  }
  while (p < Value.size()) {
    const size_t end = Value.find(FLineBreak, p);
    if (end == String::npos) {
      Add(Value.substr(p));
      break;
    }
    Add(Value.substr(p, end - p));
    p = end + FLineBreak.size();
  }
}

String TStrings::DelimitedText() const {
  if (GetCount() == 1 && Get(0).empty()) return String(2, FQuoteChar);
  String result;
  for (int i = 0; i < GetCount(); ++i) {
    String s = Get(i);
    const bool needsQuotes = std::any_of(s.begin(), s.end(), [&](char c) {
      return c == FQuoteChar || c == FDelimiter || (!FStrictDelimiter && static_cast<unsigned char>(c) <= ' ');
    });
    if (needsQuotes) s = AnsiQuotedStr(s, FQuoteChar);
    if (i > 0) result += FDelimiter;
    result += s;
  }
  return result;
}

void TStrings::SetDelimitedText(const String& Value) {
  UpdateScope update(this);
  Clear();
  const size_t n = Value.size();
  auto blank = [](char c) { return c != '\0' && static_cast<unsigned char>(c) <= ' '; };
  size_t p = 0;
  if (!FStrictDelimiter)
    while (p < n && blank(Value[p])) ++p;
  while (p < n) {
    String s;
    if (Value[p] == FQuoteChar) {
      // A quoted item: doubled quotes are one quote; the item ends at a single quote.
      ++p;
      while (p < n) {
        if (Value[p] == FQuoteChar) {
          if (p + 1 < n && Value[p + 1] == FQuoteChar) {
            s += FQuoteChar;
            p += 2;
            continue;
          }
          ++p;
          break;
        }
        s += Value[p++];
      }
    } else {
      const size_t start = p;
      while (p < n && Value[p] != FDelimiter && (FStrictDelimiter || !blank(Value[p]))) ++p;
      s = Value.substr(start, p - start);
    }
    Add(s);
    if (!FStrictDelimiter)
      while (p < n && blank(Value[p])) ++p;
    if (p < n && Value[p] == FDelimiter) {
      if (p + 1 == n) Add(String());
      do {
        ++p;
      } while (!FStrictDelimiter && p < n && blank(Value[p]));
    }
  }
}

String TStrings::CommaText() const {
  auto* self = const_cast<TStrings*>(this);
  const CommaSettings settings(self);
  return DelimitedText();
}

void TStrings::SetCommaText(const String& Value) {
  const CommaSettings settings(this);
  SetDelimitedText(Value);
}

void TStrings::Assign(TPersistent* Source) {
  auto* source = dynamic_cast<TStrings*>(Source);
  if (!source) {
    TPersistent::Assign(Source);
    return;
  }
  UpdateScope update(this);
  Clear();
  FDelimiter = source->FDelimiter;
  FQuoteChar = source->FQuoteChar;
  FNameValueSeparator = source->FNameValueSeparator;
  FStrictDelimiter = source->FStrictDelimiter;
  FLineBreak = source->FLineBreak;
  FTrailingLineBreak = source->FTrailingLineBreak;
  AddStrings(source);
}

void TStrings::BeginUpdate() {
  if (FUpdateCount == 0) SetUpdateState(true);
  ++FUpdateCount;
}

void TStrings::EndUpdate() {
  if (FUpdateCount <= 0) return;
  --FUpdateCount;
  if (FUpdateCount == 0) SetUpdateState(false);
}

void TStrings::LoadFromStream(TStream* Stream) {
  if (!Stream) return;
  const int64_t size = Stream->Size() - Stream->Position();
  String text;
  if (size > 0) {
    text.resize(size_t(size));
    Stream->ReadBuffer(text.data(), size);
  }
  if (text.compare(0, 3, "\xEF\xBB\xBF") == 0) text.erase(0, 3);
  SetTextStr(text);
}

void TStrings::SaveToStream(TStream* Stream) const {
  if (!Stream) return;
  const String text = GetTextStr();
  Stream->WriteBuffer(text.data(), int64_t(text.size()));
}

void TStrings::LoadFromFile(const String& FileName) {
  TFileStream file(FileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(&file);
}

void TStrings::SaveToFile(const String& FileName) const {
  TFileStream file(FileName, fmCreate);
  SaveToStream(&file);
}

TObject* TStrings::GetObject(int) const { return nullptr; }

void TStrings::Put(int Index, const String& S) {
  TObject* tempObject = GetObject(Index);
  Delete(Index);
  InsertObject(Index, S, tempObject);
}

void TStrings::PutObject(int, TObject*) {}
void TStrings::SetUpdateState(bool) {}

int TStrings::CompareStrings(const String& S1, const String& S2) const { return AnsiCompareText(S1, S2); }

// ---- TStringList ----

namespace {

[[noreturn]] void ListError(const String& message) { throw EStringListError(message); }

int StringListCompareStrings(TStringList* List, int Index1, int Index2) {
  return List->CompareStrings(List->Strings(Index1), List->Strings(Index2));
}

}  // namespace

TStringList::~TStringList() {
  OnChange = nullptr;
  OnChanging = nullptr;
  if (FOwnsObjects)
    for (TStringItem& item : FList)
      if (item.FObject) item.FObject->Free();
}

void TStringList::CheckIndex(int Index) const {
  if (Index < 0 || Index >= int(FList.size())) ListError("List index out of bounds (" + IntToStr(Index) + ")");
}

int TStringList::Add(const String& S) { return AddObject(S, nullptr); }

int TStringList::AddObject(const String& S, TObject* AObject) {
  int result = GetCount();
  if (FSorted && Find(S, result)) {
    switch (FDuplicates) {
      case dupIgnore:
        return result;
      case dupError:
        ListError("String list does not allow duplicates");
      case dupAccept:
        break;
    }
  }
  InsertItem(result, S, AObject);
  return result;
}

void TStringList::Insert(int Index, const String& S) { InsertObject(Index, S, nullptr); }

void TStringList::InsertObject(int Index, const String& S, TObject* AObject) {
  if (FSorted) ListError("Operation not allowed on sorted list");
  if (Index < 0 || Index > GetCount()) ListError("List index out of bounds (" + IntToStr(Index) + ")");
  InsertItem(Index, S, AObject);
}

void TStringList::InsertItem(int Index, const String& S, TObject* AObject) {
  Changing();
  FList.insert(FList.begin() + Index, TStringItem{S, AObject});
  Changed();
}

void TStringList::Delete(int Index) {
  CheckIndex(Index);
  Changing();
  TObject* obj = FList[size_t(Index)].FObject;
  FList.erase(FList.begin() + Index);
  if (FOwnsObjects && obj) obj->Free();
  Changed();
}

void TStringList::Clear() {
  if (FList.empty()) return;
  Changing();
  std::vector<TStringItem> old;
  old.swap(FList);
  if (FOwnsObjects)
    for (TStringItem& item : old)
      if (item.FObject) item.FObject->Free();
  Changed();
}

void TStringList::Exchange(int Index1, int Index2) {
  CheckIndex(Index1);
  CheckIndex(Index2);
  Changing();
  std::swap(FList[size_t(Index1)], FList[size_t(Index2)]);
  Changed();
}

void TStringList::Move(int CurIndex, int NewIndex) {
  if (CurIndex == NewIndex) return;
  if (FSorted) ListError("Operation not allowed on sorted list");
  CheckIndex(CurIndex);
  CheckIndex(NewIndex);
  Changing();
  TStringItem item = std::move(FList[size_t(CurIndex)]);
  FList.erase(FList.begin() + CurIndex);
  FList.insert(FList.begin() + NewIndex, std::move(item));
  Changed();
}

bool TStringList::Find(const String& S, int& Index) const {
  bool result = false;
  int lo = 0, hi = GetCount() - 1;
  while (lo <= hi) {
    const int i = (lo + hi) / 2;
    const int c = CompareStrings(FList[size_t(i)].FString, S);
    if (c < 0) {
      lo = i + 1;
    } else {
      hi = i - 1;
      if (c == 0) {
        result = true;
        // Without duplicates any match will do; with them, the first one counts.
        if (FDuplicates != dupAccept) lo = i;
      }
    }
  }
  Index = lo;
  return result;
}

int TStringList::IndexOf(const String& S) const {
  if (!FSorted) return TStrings::IndexOf(S);
  int i = 0;
  return Find(S, i) ? i : -1;
}

void TStringList::Sort() { CustomSort(StringListCompareStrings); }

void TStringList::CustomSort(TStringListSortCompare Compare) {
  if (FSorted || GetCount() <= 1 || !Compare) return;
  Changing();
  // The comparison reads the unchanged list by index; the order is applied afterwards.
  std::vector<int> order(FList.size());
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return Compare(this, a, b) < 0; });
  std::vector<TStringItem> sorted;
  sorted.reserve(FList.size());
  for (int i : order) sorted.push_back(std::move(FList[size_t(i)]));
  FList.swap(sorted);
  Changed();
}

void TStringList::SetSorted(bool Value) {
  if (FSorted == Value) return;
  if (Value) Sort();
  FSorted = Value;
}

void TStringList::SetCaseSensitive(bool Value) {
  if (FCaseSensitive == Value) return;
  FCaseSensitive = Value;
  if (FSorted) {
    FSorted = false;
    Sort();
    FSorted = true;
  }
}

void TStringList::Assign(TPersistent* Source) {
  auto* source = dynamic_cast<TStringList*>(Source);
  if (!source) {
    TStrings::Assign(Source);
    return;
  }
  UpdateScope update(this);
  // The copy keeps the source's order, then takes its sorting settings.
  FSorted = false;
  FCaseSensitive = source->FCaseSensitive;
  FDuplicates = source->FDuplicates;
  TStrings::Assign(Source);
  FSorted = source->FSorted;
}

int TStringList::CompareStrings(const String& S1, const String& S2) const {
  return FCaseSensitive ? AnsiCompareStr(S1, S2) : AnsiCompareText(S1, S2);
}

String TStringList::Get(int Index) const {
  CheckIndex(Index);
  return FList[size_t(Index)].FString;
}

TObject* TStringList::GetObject(int Index) const {
  CheckIndex(Index);
  return FList[size_t(Index)].FObject;
}

void TStringList::Put(int Index, const String& S) {
  if (FSorted) ListError("Operation not allowed on sorted list");
  CheckIndex(Index);
  Changing();
  FList[size_t(Index)].FString = S;
  Changed();
}

void TStringList::PutObject(int Index, TObject* AObject) {
  CheckIndex(Index);
  Changing();
  FList[size_t(Index)].FObject = AObject;
  Changed();
}

void TStringList::SetUpdateState(bool Updating) {
  if (Updating)
    Changing();
  else
    Changed();
}

void TStringList::Changed() {
  if (UpdateCount() == 0 && OnChange) OnChange(this);
}

void TStringList::Changing() {
  if (UpdateCount() == 0 && OnChanging) OnChanging(this);
}
