#include "InstallJournal.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TInstallJournal Sample() {
  TInstallJournal journal;
  journal.BackupDir = L"Update\\Backup\\20261211-120000-42";
  journal.TempSuffix = L".~upd20261211-120000-42";
  journal.MadeDirs = {L"Widgets", L"Widgets\\Weather"};
  journal.Files = {{L"Kelvara.exe", true}, {L"Widgets\\Weather\\\u8bf4\u660e.txt", false}};
  return journal;
}

TEST(InstallJournal, HeaderAndProgressReadBack) {
  struct TCase {
    const char* Name;
    std::string Tail;
    std::size_t Placed;
    bool Committed, Complete;
  };
  for (const TCase& c : {TCase{"header only", "", 0, false, false},
                         TCase{"one placed", JournalPlacedLine(1), 1, false, false},
                         TCase{"torn line ignored", JournalPlacedLine(1) + "placed 2", 1, false, false},
                         TCase{"all placed", JournalPlacedLine(1) + JournalPlacedLine(2), 2, false, true},
                         TCase{"committed", JournalPlacedLine(1) + JournalPlacedLine(2) + JournalCommitLine(), 2, true,
                               true}}) {
    TInstallJournal read;
    ASSERT_TRUE(ParseJournal(JournalHeader(Sample()) + c.Tail, read)) << c.Name;
    EXPECT_EQ(read.BackupDir, Sample().BackupDir) << c.Name;
    EXPECT_EQ(read.TempSuffix, Sample().TempSuffix) << c.Name;
    EXPECT_EQ(read.MadeDirs, Sample().MadeDirs) << c.Name;
    ASSERT_EQ(read.Files.size(), 2u) << c.Name;
    EXPECT_EQ(read.Files[1].Name, Sample().Files[1].Name) << c.Name;
    EXPECT_TRUE(read.Files[0].Existed);
    EXPECT_FALSE(read.Files[1].Existed);
    EXPECT_EQ(read.Placed, c.Placed) << c.Name;
    EXPECT_EQ(read.Committed, c.Committed) << c.Name;
    EXPECT_EQ(read.Complete(), c.Complete) << c.Name;
  }
}

TEST(InstallJournal, AnythingElseIsNoJournal) {
  const std::string header = JournalHeader(Sample());
  for (const std::string& text : std::vector<std::string>{std::string(), std::string("RenewaJournal 2\n"), header.substr(0, header.size() - 6),
                                  header + "placed 2\n",             // out of order
                                  header + "placed 3\n",             // more than the files
                                  header + "placed one\n", header + "file 1 late\n",
                                  "RenewaJournal 1\nbegin\n",       // no backup or temp named
                                  "RenewaJournal 1\nbackup B\ntemp T\nfile 2 x\nbegin\n",
                                  // paths that would lead out of the installation
                                  "RenewaJournal 1\nbackup B\ntemp T\nfile 1 ..\\..\\Windows\\x.dll\nbegin\n",
                                  "RenewaJournal 1\nbackup C:\\Elsewhere\ntemp T\nbegin\n",
                                  "RenewaJournal 1\nbackup B\ntemp \\..\\x\nbegin\n",
                                  "RenewaJournal 1\nbackup B\ntemp T\ndir \\abs\nbegin\n"}) {
    TInstallJournal read;
    EXPECT_FALSE(ParseJournal(text, read)) << text;
  }
}

}  // namespace
