#include "PublishRequest.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using TArgs = std::vector<std::wstring>;

std::string Show(const TArgs& Args) {
  std::string shown;
  for (const std::wstring& arg : Args) shown += testing::PrintToString(arg) + " ";
  return shown;
}

// Parses Args expecting a refusal; the error is what the maker sees.
std::wstring RefusalOf(const TArgs& Args) {
  TPublishRequest request;
  std::wstring error;
  EXPECT_FALSE(ParsePublishArguments(Args, request, error));
  EXPECT_FALSE(error.empty());
  return error;
}

const TArgs kFullPublish{L"--from", L"C:\\Build\\Orvo", L"--version", L"6.10.0.0",
                         L"--notes", L"notes.txt",      L"--out",     L"D:\\Upload"};

// The publication every full request in these tests asks for, whatever the key.
void ExpectFullPublish(const TPublishRequest& Request) {
  EXPECT_EQ(Request.Mode, TPublishRequest::Publish);
  EXPECT_EQ(Request.From, L"C:\\Build\\Orvo");
  EXPECT_EQ(Request.Version, L"6.10.0.0");
  EXPECT_EQ(Request.Notes, L"notes.txt");
  EXPECT_EQ(Request.Out, L"D:\\Upload");
}

TEST(PublishArguments, FullRequestWithKeySignsInAnyOrder) {
  const TArgs args{L"--key", L"maker.key", L"--out", L"D:\\Upload", L"--notes", L"notes.txt",
                   L"--version", L"6.10.0.0", L"--from", L"C:\\Build\\Orvo"};
  TPublishRequest request;
  std::wstring error;
  ASSERT_TRUE(ParsePublishArguments(args, request, error)) << testing::PrintToString(error);
  ExpectFullPublish(request);
  EXPECT_EQ(request.Key, L"maker.key");
}

TEST(PublishArguments, FullRequestWithoutKeyLeavesNoKeyFromAnEarlierParse) {
  TPublishRequest request;
  request.Mode = TPublishRequest::NewKey;
  request.Key = L"stale.key";
  std::wstring error;
  ASSERT_TRUE(ParsePublishArguments(kFullPublish, request, error)) << testing::PrintToString(error);
  ExpectFullPublish(request);
  EXPECT_TRUE(request.Key.empty());  // an unsigned update, not one signed with a leftover key
}

TEST(PublishArguments, NewKeyAloneMakesAKey) {
  const TArgs args{L"--new-key", L"maker.key"};
  TPublishRequest request;
  std::wstring error;
  ASSERT_TRUE(ParsePublishArguments(args, request, error)) << testing::PrintToString(error);
  EXPECT_EQ(request.Mode, TPublishRequest::NewKey);
  EXPECT_EQ(request.Key, L"maker.key");
}

TEST(PublishArguments, NewKeyWithAnythingElseIsRefused) {
  TArgs withPublish = kFullPublish;
  withPublish.insert(withPublish.end(), {L"--new-key", L"maker.key"});
  for (const TArgs& args : {TArgs{L"--new-key", L"maker.key", L"--from", L"C:\\Build"},
                            TArgs{L"--out", L"D:\\Upload", L"--new-key", L"maker.key"},
                            TArgs{L"--key", L"old.key", L"--new-key", L"maker.key"},
                            TArgs{L"--new-key", L"maker.key", L"--key", L"old.key"}, withPublish}) {
    SCOPED_TRACE(Show(args));
    RefusalOf(args);
  }
}

TEST(PublishArguments, UnknownArgumentIsRefusedByName) {
  struct TCase {
    TArgs Args;
    std::wstring Unknown;
  };
  const TCase cases[] = {
      {{L"--form", L"C:\\Build", L"--version", L"6.1", L"--notes", L"n.txt", L"--out", L"D:\\Up"}, L"--form"},
      {{L"-from", L"C:\\Build"}, L"-from"},
      {{L"C:\\Build"}, L"C:\\Build"},
      {{L"--from", L"C:\\Build", L"--sign", L"maker.key"}, L"--sign"},
      {{L"--new-key", L"maker.key", L"--force"}, L"--force"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(Show(c.Args));
    EXPECT_NE(RefusalOf(c.Args).find(c.Unknown), std::wstring::npos);
  }
}

TEST(PublishArguments, OptionWithoutValueIsRefused) {
  TArgs lastWithoutValue = kFullPublish;  // --out at the end
  lastWithoutValue.pop_back();
  TArgs emptyVersion = kFullPublish;
  emptyVersion[3] = L"";
  TArgs keyAtEnd = kFullPublish;
  keyAtEnd.push_back(L"--key");
  TArgs emptyKey = kFullPublish;  // would otherwise publish unsigned without a word
  emptyKey.insert(emptyKey.end(), {L"--key", L""});
  for (const TArgs& args :
       {lastWithoutValue, emptyVersion, keyAtEnd, emptyKey, TArgs{L"--new-key"}, TArgs{L"--new-key", L""}}) {
    SCOPED_TRACE(Show(args));
    RefusalOf(args);
  }
}

TEST(PublishArguments, OptionGivenTwiceIsRefused) {
  for (const std::wstring option : {L"--from", L"--version", L"--notes", L"--out", L"--key"}) {
    TArgs args = kFullPublish;
    args.insert(args.end(), {L"--key", L"maker.key"});
    // Even with the same value: the maker meant something else by one of them.
    args.insert(args.end(), {option, option == L"--version" ? L"6.10.0.0" : L"again"});
    SCOPED_TRACE(Show(args));
    EXPECT_NE(RefusalOf(args).find(option), std::wstring::npos);
  }
  SCOPED_TRACE("--new-key twice");
  RefusalOf({L"--new-key", L"a.key", L"--new-key", L"b.key"});
}

TEST(PublishArguments, EachRequiredOptionMissingIsNamed) {
  for (const std::wstring missing : {L"--from", L"--version", L"--notes", L"--out"}) {
    TArgs args{L"--key", L"maker.key"};
    for (std::size_t at = 0; at < kFullPublish.size(); at += 2)
      if (kFullPublish[at] != missing) args.insert(args.end(), {kFullPublish[at], kFullPublish[at + 1]});
    SCOPED_TRACE(Show(args));
    EXPECT_NE(RefusalOf(args).find(missing), std::wstring::npos);
  }
  SCOPED_TRACE("nothing at all");
  RefusalOf({});
}

TEST(PublishArguments, VersionTheUpdaterCannotOfferIsRefusedShowingIt) {
  for (const std::wstring version : {L"6.x", L"0.0.0.0", L"1.2.3.4.5", L"v6.1"}) {
    TArgs args = kFullPublish;
    args[3] = version;
    SCOPED_TRACE(Show(args));
    EXPECT_NE(RefusalOf(args).find(version), std::wstring::npos);
  }
}

TEST(PublishableVersion, OnlyWhatTheUpdaterReadsAsWrittenAndCanOffer) {
  struct TCase {
    std::wstring Version;
    bool Publishable;
  };
  const TCase cases[] = {
      {L"6.10.0.0", true},
      {L"7", true},
      {L"6.9.3", true},
      {L"0.0.0.1", true},
      {L"999999999.1", true},
      {L"123456789.123456789.123456789.123456789", true},  // nine digits in every part
      {L"", false},
      {L".", false},
      {L"6..1", false},
      {L"6.1.", false},
      {L".6", false},
      {L"1.2.3.4.5", false},
      {L"0", false},
      {L"0.0.0.0", false},  // never newer than anything installed
      {L"6.x", false},
      {L"6,9,2,0", false},
      {L" 6.1", false},
      {L"6.1 ", false},
      {L"-6.1", false},
      {L"1234567890.1", false},
      {L"1.1234567890", false},
      {L"\uFF16.\uFF11", false},  // full-width digits
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.Version));
    EXPECT_EQ(IsPublishableVersion(c.Version), c.Publishable);
  }
}

}  // namespace
