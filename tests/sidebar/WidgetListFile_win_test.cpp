#include "WidgetListFile.h"

#include <gtest/gtest.h>

#include "TempDir.h"

namespace {

TEST(WidgetListFile, EveryLineEndReadsAsOne) {
  struct TCase {
    const char* Bytes;
    std::vector<std::wstring> Lines;
  };
  const TCase cases[] = {
      {"A\\Widget.dll\r\nB\\Widget.dll\r\n", {L"A\\Widget.dll", L"B\\Widget.dll"}},
      {"A\\Widget.dll\nB\\Widget.dll", {L"A\\Widget.dll", L"B\\Widget.dll"}},
      {"A\\Widget.dll\rB\\Widget.dll\r", {L"A\\Widget.dll", L"B\\Widget.dll"}},
      {"A\r\rB\n\nC\r\n\r\nD", {L"A", L"", L"B", L"", L"C", L"", L"D"}},
      {"A\n\r\nB", {L"A", L"", L"B"}},
      {"", {}},
  };
  TTempDir dir;
  for (const TCase& c : cases) {
    WriteBytes(dir / L"LockWidgets.txt", c.Bytes);
    EXPECT_EQ(ReadWidgetList(dir / L"LockWidgets.txt"), c.Lines) << c.Bytes;
  }
  EXPECT_TRUE(ReadWidgetList(dir / L"missing.txt").empty());
}

}  // namespace
