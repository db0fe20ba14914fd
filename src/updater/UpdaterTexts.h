// Every text the updater shows, in its two languages: Chinese when the option is 1,
// English for any other value.
#pragma once

#include <cstdint>

struct TUpdaterTexts {
  const wchar_t* Title;
  const wchar_t* Banner;           // lbl1
  const wchar_t* Detecting;        // lblInfo at start
  const wchar_t* AvailableCaption; // lblProgress at start
  const wchar_t* ProgressCaption;
  const wchar_t* ContentCaption;
  const wchar_t* UpdateQuestion;
  const wchar_t* UpToDate;
  const wchar_t* CloseQuestion;
  const wchar_t* Abandoned;
  const wchar_t* Completed;
  const wchar_t* FailedRestored;   // the update was not installed; nothing of it remains
  const wchar_t* HintCaption;
  // One status line each when a step fails without a message box.
  const wchar_t* StatusHostUnreachable;
  const wchar_t* StatusConnectionLost;
  const wchar_t* StatusCannotWrite;
  const wchar_t* StatusBadArchive;
};

const TUpdaterTexts& UpdaterTexts(std::uint8_t Language);
