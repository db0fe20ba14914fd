#include "PublishRequest.h"

#include <map>

bool ParsePublishArguments(std::span<const std::wstring> Args, TPublishRequest& Request, std::wstring& Error) {
  Request = {};
  std::map<std::wstring, std::wstring*> options{{L"--from", &Request.From},   {L"--version", &Request.Version},
                                                {L"--notes", &Request.Notes}, {L"--out", &Request.Out},
                                                {L"--key", &Request.Key},     {L"--new-key", &Request.Key}};
  bool newKey = false, given[6] = {};
  for (std::size_t at = 0; at < Args.size(); at += 2) {
    const auto option = options.find(Args[at]);
    if (option == options.end()) {
      Error = L"unknown argument: " + Args[at];
      return false;
    }
    if (at + 1 >= Args.size() || Args[at + 1].empty()) {
      Error = Args[at] + L" needs a value";
      return false;
    }
    const auto index = static_cast<std::size_t>(std::distance(options.begin(), option));
    if (given[index]) {
      Error = Args[at] + L" given twice";
      return false;
    }
    given[index] = true;
    if (Args[at] == L"--new-key") newKey = true;
    *option->second = Args[at + 1];
  }
  if (newKey) {
    Request.Mode = TPublishRequest::NewKey;
    if (Args.size() != 2) {
      Error = L"--new-key takes no other argument";
      return false;
    }
    return true;
  }
  for (const auto& [name, value] : {std::pair{L"--from", &Request.From}, std::pair{L"--version", &Request.Version},
                                    std::pair{L"--notes", &Request.Notes}, std::pair{L"--out", &Request.Out}}) {
    if (value->empty()) {
      Error = std::wstring(name) + L" is missing";
      return false;
    }
  }
  if (!IsPublishableVersion(Request.Version)) {
    Error = L"not a version the updater can offer: " + Request.Version;
    return false;
  }
  return true;
}

bool IsPublishableVersion(std::wstring_view Version) {
  std::size_t parts = 0, digits = 0;
  bool nonZero = false;
  for (std::size_t at = 0; at <= Version.size(); ++at) {
    const wchar_t c = at < Version.size() ? Version[at] : L'.';
    if (c == L'.') {
      if (digits == 0 || ++parts > 4) return false;
      digits = 0;
    } else if (c >= L'0' && c <= L'9') {
      if (++digits > 9) return false;
      nonZero = nonZero || c != L'0';
    } else {
      return false;
    }
  }
  return nonZero;
}
