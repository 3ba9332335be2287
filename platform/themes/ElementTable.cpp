#include "ElementTable.h"

#include <algorithm>

const std::vector<const TElementTable*>& AllElementTables() {
  static const std::vector<const TElementTable*> tables{
      &ButtonElements(),   &ToolBarElements(),  &ScrollBarElements(), &SpinElements(),   &ComboBoxElements(),
      &EditElements(),     &GridElements(),     &MonthCalElements(),  &HeaderElements(), &TreeviewElements(),
      &ListviewElements(), &TabElements(),      &MenuElements(),      &WindowElements(), &ProgressElements(),
      &StatusElements(),   &HintElements(),     &ToolTipElements(),   &PanelElements()};
  return tables;
}

TThemedElementDetails DetailsOf(const TElementTable& table, int value) {
  if (value < 0 || size_t(value) >= table.Count) return {table.Element, 0, 0};
  const TElementEntry& e = table.Entries[value];
  return {table.Element, e.Part, e.State};
}

const TElementEntry* FindElementEntry(const TThemedElementDetails& details) {
  for (const TElementTable* t : AllElementTables()) {
    if (t->Element != details.Element) continue;
    const TElementEntry* found = nullptr;
    for (size_t i = 0; i < t->Count; ++i) {
      const TElementEntry& e = t->Entries[i];
      if (e.Part != details.Part || e.State != details.State) continue;
      if (e.Family) return &e;
      if (!found) found = &e;
    }
    return found;
  }
  return nullptr;
}

const TElementEntry* FindElementByName(std::string_view name, TThemedElement* element) {
  for (const TElementTable* t : AllElementTables())
    for (size_t i = 0; i < t->Count; ++i)
      if (name == t->Entries[i].Name) {
        if (element) *element = t->Element;
        return &t->Entries[i];
      }
  return nullptr;
}

std::vector<String> ElementFamilies() {
  std::vector<String> families;
  for (const TElementTable* t : AllElementTables())
    for (size_t i = 0; i < t->Count; ++i)
      if (const char* f = t->Entries[i].Family; f && std::find(families.begin(), families.end(), f) == families.end())
        families.emplace_back(f);
  return families;
}

std::vector<std::string_view> FacetsOf(const TElementEntry& entry) {
  std::vector<std::string_view> facets;
  std::string_view s = entry.Facets ? entry.Facets : "";
  while (!s.empty()) {
    const size_t space = s.find(' ');
    const std::string_view word = s.substr(0, space);
    if (!word.empty()) facets.push_back(word);
    if (space == std::string_view::npos) break;
    s.remove_prefix(space + 1);
  }
  return facets;
}
