#include "IniFile.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "TempDir.h"

namespace {

TEST(IniFile, ReadsUtf8WithBomAndLongValues) {
  TTempDir temp;
  const std::string longValue(5000, 'v');
  WriteBytes(temp / L"a.ini", "\xEF\xBB\xBF[S]\r\nCity=\xE5\x8C\x97\xE4\xBA\xAC\r\nLong=" + longValue + "\r\n");
  const TIniFile ini(temp / L"a.ini");
  EXPECT_EQ(ini.ReadString(L"S", L"City", L"-"), L"北京");
  EXPECT_EQ(ini.ReadString(L"S", L"Long", L"-").size(), 5000u);
  EXPECT_EQ(ini.ReadString(L"S", L"Missing", L"-"), L"-");
  EXPECT_EQ(ini.ReadString(L"Nope", L"City", L"-"), L"-");
  EXPECT_EQ(TIniFile(temp / L"missing.ini").ReadInteger(L"S", L"N", 5), 5);
}

TEST(IniFile, WritesAndReadsBack) {
  TTempDir temp;
  TIniFile ini(temp / L"w.ini");
  ini.WriteBool(L"S", L"On", true);
  ini.WriteInteger(L"S", L"N", -12);
  ini.WriteString(L"S", L"Name", L"蓝色.png");
  EXPECT_EQ(ini.ReadString(L"S", L"On", L""), L"1");
  EXPECT_EQ(ini.ReadInteger(L"S", L"N", 0), -12);
  EXPECT_EQ(ini.ReadString(L"S", L"Name", L""), L"蓝色.png");
}

TEST(IniFile, RefusedWriteRaises) {
  TTempDir temp;
  WriteBytes(temp / L"NotADir", "file");
  ::CreateDirectoryW((temp / L"IsADir.ini").c_str(), nullptr);
  for (const std::wstring& path : {temp / L"NotADir\\x.ini", temp / L"IsADir.ini", temp / L"missing\\x.ini"}) {
    TIniFile ini(path);
    EXPECT_THROW(ini.WriteString(L"S", L"K", L"V"), EIniFileError) << testing::PrintToString(path);
  }
  EXPECT_EQ(ReadBytes(temp / L"NotADir"), "file");
}

}  // namespace
