// TStrings, the framework's abstract list of strings with objects, name=value pairs and
// the text forms (Text, CommaText, DelimitedText); TStringList, its sortable storage.
#pragma once

#include <vector>

#include "Persistent.h"

class TStream;

enum TDuplicates { dupIgnore, dupAccept, dupError };

class TStrings : public TPersistent {
  QV_CLASS(TStrings, TPersistent)

  int Count() const { return GetCount(); }
  // Index errors raise EStringListError "List index out of bounds (%d)" in TStringList.
  String Strings(int Index) const { return Get(Index); }
  void SetStrings(int Index, const String& S) { Put(Index, S); }
  String operator[](int Index) const { return Get(Index); }
  TObject* Objects(int Index) const { return GetObject(Index); }
  void SetObjects(int Index, TObject* AObject) { PutObject(Index, AObject); }

  virtual int Add(const String& S);
  virtual int AddObject(const String& S, TObject* AObject);
  int AddPair(const String& Name, const String& Value);
  void Append(const String& S) { Add(S); }
  virtual void AddStrings(const TStrings* Strings);
  virtual void Insert(int Index, const String& S) = 0;
  virtual void InsertObject(int Index, const String& S, TObject* AObject);
  virtual void Delete(int Index) = 0;
  virtual void Clear() = 0;
  virtual void Exchange(int Index1, int Index2);
  // Get, Delete and Insert at the new place, the object going along.
  virtual void Move(int CurIndex, int NewIndex);
  virtual int IndexOf(const String& S) const;
  // The first item whose name (the part before NameValueSeparator) is Name, or -1.
  int IndexOfName(const String& Name) const;
  int IndexOfObject(const TObject* AObject) const;
  bool Equals(const TStrings* Strings) const;

  // Name and value of "name=value"; an item without the separator has an empty name.
  String Names(int Index) const;
  String Values(const String& Name) const;
  // An empty value deletes the pair; a new name adds one at the end.
  void SetValues(const String& Name, const String& Value);
  String ValueFromIndex(int Index) const;
  void SetValueFromIndex(int Index, const String& Value);

  // Every item followed by LineBreak (the last too, unless TrailingLineBreak is off).
  // Setting splits at CR LF, LF or CR.
  String Text() const { return GetTextStr(); }
  void SetText(const String& Value) { SetTextStr(Value); }
  // Items joined by Delimiter; an item holding the quote character, the delimiter or
  // (unless StrictDelimiter) a character up to the space is quoted with QuoteChar.
  String DelimitedText() const;
  void SetDelimitedText(const String& Value);
  // DelimitedText with ',' and '"' and without StrictDelimiter.
  String CommaText() const;
  void SetCommaText(const String& Value);

  char Delimiter() const { return FDelimiter; }
  void SetDelimiter(char Value) { FDelimiter = Value; }
  char QuoteChar() const { return FQuoteChar; }
  void SetQuoteChar(char Value) { FQuoteChar = Value; }
  char NameValueSeparator() const { return FNameValueSeparator; }
  void SetNameValueSeparator(char Value) { FNameValueSeparator = Value; }
  bool StrictDelimiter() const { return FStrictDelimiter; }
  void SetStrictDelimiter(bool Value) { FStrictDelimiter = Value; }
  const String& LineBreak() const { return FLineBreak; }
  void SetLineBreak(const String& Value) { FLineBreak = Value; }
  bool TrailingLineBreak() const { return FTrailingLineBreak; }
  void SetTrailingLineBreak(bool Value) { FTrailingLineBreak = Value; }

  // Copies the strings, objects and text settings of another TStrings in one update.
  void Assign(TPersistent* Source) override;

  // The first BeginUpdate and the last EndUpdate call SetUpdateState(true/false).
  void BeginUpdate();
  void EndUpdate();
  int UpdateCount() const { return FUpdateCount; }

  // UTF-8 text; loading skips a byte order mark.
  virtual void LoadFromStream(TStream* Stream);
  virtual void SaveToStream(TStream* Stream) const;
  void LoadFromFile(const String& FileName);
  void SaveToFile(const String& FileName) const;

 protected:
  virtual String Get(int Index) const = 0;
  virtual int GetCount() const = 0;
  virtual TObject* GetObject(int Index) const;
  virtual void Put(int Index, const String& S);
  virtual void PutObject(int Index, TObject* AObject);
  virtual void SetUpdateState(bool Updating);
  virtual String GetTextStr() const;
  virtual void SetTextStr(const String& Value);
  // AnsiCompareText in TStrings; TStringList follows CaseSensitive.
  virtual int CompareStrings(const String& S1, const String& S2) const;

 private:
  // Puts ',' '"' and no StrictDelimiter in force for its lifetime.
  class CommaSettings {
   public:
    explicit CommaSettings(TStrings* s)
        : FStrings(s), FDelimiter(s->FDelimiter), FQuoteChar(s->FQuoteChar), FStrict(s->FStrictDelimiter) {
      s->FDelimiter = ',';
      s->FQuoteChar = '"';
      s->FStrictDelimiter = false;
    }
    ~CommaSettings() {
      FStrings->FDelimiter = FDelimiter;
      FStrings->FQuoteChar = FQuoteChar;
      FStrings->FStrictDelimiter = FStrict;
    }
    CommaSettings(const CommaSettings&) = delete;
    CommaSettings& operator=(const CommaSettings&) = delete;

   private:
    TStrings* FStrings;
    char FDelimiter, FQuoteChar;
    bool FStrict;
  };

  char FDelimiter = ',';
  char FQuoteChar = '"';
  char FNameValueSeparator = '=';
  bool FStrictDelimiter = false;
  bool FTrailingLineBreak = true;
  String FLineBreak = sLineBreak;
  int FUpdateCount = 0;
};

class TStringList;
using TStringListSortCompare = int (*)(TStringList* List, int Index1, int Index2);

class TStringList : public TStrings {
  QV_CLASS(TStringList, TStrings)

  TStringList() = default;
  explicit TStringList(bool AOwnsObjects) : FOwnsObjects(AOwnsObjects) {}
  ~TStringList() override;

  // Sorted lists place the string by CompareStrings; a duplicate is ignored (answering
  // the existing index), accepted, or refused with EStringListError "String list does
  // not allow duplicates", as Duplicates says.
  int Add(const String& S) override;
  int AddObject(const String& S, TObject* AObject) override;
  // Insert and Strings writes on a sorted list raise EStringListError "Operation not
  // allowed on sorted list".
  void Insert(int Index, const String& S) override;
  void InsertObject(int Index, const String& S, TObject* AObject) override;
  void Delete(int Index) override;
  void Clear() override;
  void Exchange(int Index1, int Index2) override;
  // Raises EStringListError on a sorted list.
  void Move(int CurIndex, int NewIndex) override;
  int IndexOf(const String& S) const override;
  // Binary search of a sorted list: true when found; Index is where S is or would go.
  virtual bool Find(const String& S, int& Index) const;
  virtual void Sort();
  // Sorts with Compare (unless the list is Sorted: it stays in its order).
  virtual void CustomSort(TStringListSortCompare Compare);

  bool Sorted() const { return FSorted; }
  void SetSorted(bool Value);
  TDuplicates Duplicates() const { return FDuplicates; }
  void SetDuplicates(TDuplicates Value) { FDuplicates = Value; }
  bool CaseSensitive() const { return FCaseSensitive; }
  void SetCaseSensitive(bool Value);
  bool OwnsObjects() const { return FOwnsObjects; }
  void SetOwnsObjects(bool Value) { FOwnsObjects = Value; }

  void Assign(TPersistent* Source) override;

  TNotifyEvent OnChange;
  TNotifyEvent OnChanging;

  int CompareStrings(const String& S1, const String& S2) const override;

 protected:
  String Get(int Index) const override;
  int GetCount() const override { return int(FList.size()); }
  TObject* GetObject(int Index) const override;
  void Put(int Index, const String& S) override;
  void PutObject(int Index, TObject* AObject) override;
  void SetUpdateState(bool Updating) override;
  virtual void Changed();
  virtual void Changing();
  virtual void InsertItem(int Index, const String& S, TObject* AObject);

 private:
  struct TStringItem {
    String FString;
    TObject* FObject = nullptr;
  };
  void CheckIndex(int Index) const;

  std::vector<TStringItem> FList;
  bool FSorted = false;
  TDuplicates FDuplicates = dupIgnore;
  bool FCaseSensitive = false;
  bool FOwnsObjects = false;
};
