// An in-memory profile for logic tests: section -> key -> text.
#pragma once

#include <map>
#include <string>

#include "ProfileValue.h"

class TTableProfile final : public IProfileReader {
 public:
  std::map<std::wstring, std::map<std::wstring, std::wstring>> Sections;
  std::wstring ReadString(const std::wstring& Section, const std::wstring& Key,
                          const std::wstring& Default) const override {
    const auto s = Sections.find(Section);
    if (s == Sections.end()) return Default;
    const auto k = s->second.find(Key);
    return k == s->second.end() ? Default : k->second;
  }
};

