// TFmWeatherSet: the modal dialog in which the user types the city of the forecast.
#pragma once

#include <string>

#include "WidgetSetParent.h"

class TFmWeatherSet final : public TFmWidgetSetParent {
 public:
  // Runs the dialog owned by AParHandle with ACity in its edit. True, with ACity set to
  // the edit's text exactly as typed, when the user confirms; otherwise ACity is unchanged.
  static bool ShowForm(HWND AParHandle, std::wstring& ACity);

  // The dialog while it runs (for tests that drive it); null otherwise.
  static TFmWeatherSet* Running();

  enum TControl : int { edtCityId = 101, mmo1Id, btnOkId, btnCancelId, grp1Id };

 private:
  explicit TFmWeatherSet(HWND AParHandle);
  void FormCreate() override;
  void FormResize(int ClientWidth, int ClientHeight) override;
  void ControlCommand(int Id, int Code, HWND Control) override;
  std::wstring EditText() const;
};
