// The file work of the installation journal: writing it so that it is whole or absent,
// adding progress to it, and undoing or finishing the run it tells of.
#pragma once

#include <string>

#include "InstallJournal.h"

// DestDir + "\Update\Install.journal".
std::wstring JournalPath(const std::wstring& DestDir);

// Writes the header to a temporary name, flushes it and renames it into place with write-
// through, so the journal is never half there. False when that fails.
bool WriteJournal(const std::wstring& DestDir, const TInstallJournal& Journal);
// Appends one line and flushes it.
bool AppendJournal(const std::wstring& DestDir, const std::string& Line);

enum class TRecovery {
  Nothing,     // no journal: no run was left unfinished
  RolledBack,  // the previous version is back
  Finished,    // every file was in place; the run's leftovers are gone
  Failed,      // something could not be put back (or the journal is unreadable); the
               // journal and every backup stay, so the next start tries again
};

// Undoes the unfinished run a journal in DestDir tells of, or finishes it when every file
// was already in place; either way removes its temporary files and, once nothing is left
// to put back, its backups and the journal. Never follows a link.
TRecovery RecoverInstallation(const std::wstring& DestDir);
