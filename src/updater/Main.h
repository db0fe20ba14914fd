// TFmMain: the updater's window and the whole update: version file, question, archive,
// closing the main application, installing, restarting it.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "UpdateSignature.h"
#include "VCLUnZip.h"
#include "Window.h"
#include "auHTTP.h"

class TFmMain final : public TWindow {
 public:
  // Creates the window (hidden when Hide) and starts its timer. With UpdateKey, only an
  // archive signed by it for the announced version is installed.
  TFmMain(bool Hide, std::optional<TUpdatePublicKey> UpdateKey);
  ~TFmMain() override;

  TauHTTP ahtp1;
  TVCLUnZip vclnzp;

 protected:
  LRESULT HandleMessage(UINT Msg, WPARAM wParam, LPARAM lParam) override;

 private:
  enum class TOutcome { Pending, Handled, Failed, Unreachable, ConnLost };

  void FormCreate();
  void FormClose();
  void FormResize();
  void tmrUpdateTimer();
  void StartCheck();
  void StartArchive();
  void RunTransfer();
  void ahtp1Done(TauHTTP& Sender);
  void ahtp1Progress(std::uint8_t PercentsDone);
  void ahtp1HTTPError(TauHTTP& Sender, std::int32_t ErrorCode);
  void VersionReceived();
  void ArchiveReceived();
  bool CloseMainApplication();
  void StartMainApplication();
  void ShowFailure(const wchar_t* Status);
  void RefuseArchive();
  int Ask(const wchar_t* Text, UINT Flags);
  void Close();
  void SetText(HWND Control, const std::wstring& Text);

  std::wstring FDir;  // the installation directory, with a trailing backslash
  bool FHide;
  std::optional<TUpdatePublicKey> FUpdateKey;
  std::wstring FAnnounced;  // the version the user was offered, as the version file says it
  std::wstring FSignature;  // the version file's "Signature"
  bool FUpdateInfo = false;
  bool FUpdateFile = false;
  bool FClosing = false;
  bool FClosedMainApplication = false;
  TOutcome FOutcome = TOutcome::Handled;
  HFONT FFont = nullptr;
  HBRUSH FWhite = nullptr;
  HWND lbl1 = nullptr, lblInfo = nullptr, mmoInfo = nullptr, lblProgress = nullptr, pgb1 = nullptr;
};
