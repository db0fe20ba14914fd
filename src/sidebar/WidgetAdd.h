// TFmWidgetAdd: the widget gallery "添加小工具". One skinned window for the program's life,
// owned by the bar: six tiles to a page of the widgets found below "Widgets\"; a click
// shows a widget's name, version and description, a double click adds it to the bar.
#pragma once

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "WidgetBase.h"
#include "WidgetLibraryInfo.h"

class TFmWidgetAdd final : public TFmWidgetBase {
 public:
  // Creates the gallery on first use (owned by AParHandle, centred on the screen), reloads
  // the list from the sidebar's program directory and shows it.
  static void ShowForm(HWND AParHandle);
  // The gallery once created; null before. FreeInstance destroys it (at the program's end).
  static TFmWidgetAdd* Instance();
  static void FreeInstance();

  ~TFmWidgetAdd() override;

  void LoadWidgetList();
  void ShowPage(int ADelta);

  static constexpr int kTiles = 6;
  const std::vector<TWidgetInfo>& Widgets() const { return FWidgets; }
  int PageIndex() const { return FPageIndex; }
  const TPNGButton& Tile(int K) const { return ImgWidget[static_cast<std::size_t>(K)]; }
  // The icon and name buttons of tile K while it shows a widget; null otherwise.
  const TPNGButton* TileIcon(int K) const { return ImgIcon[static_cast<std::size_t>(K)].get(); }
  const TPNGButton* TileName(int K) const { return ImgName[static_cast<std::size_t>(K)].get(); }
  const std::wstring& PageLabel() const { return ImgBtnMid.Caption(); }
  const std::wstring& VisionText() const { return ImgVision.Caption(); }
  const std::wstring& DescriptionText() const { return ImgDescription.Caption(); }

  // Opens an address for the "more widgets" link; the shell's "open" unless replaced.
  std::function<void(const std::wstring&)> OpenAddress;

 protected:
  void FormCreate() override;
  void PaintButtons(Gdiplus::Graphics& Graphics) override;
  LRESULT HandleMessage(UINT Msg, WPARAM wParam, LPARAM lParam) override;

 private:
  explicit TFmWidgetAdd(HWND AParHandle);

  void SetSkinImages(const std::wstring& SkinDir);
  void ClearWidgetList();
  void ShowTile(TPNGButton& Icon, TPNGButton& Name, int Index);
  void HideTile(int K);
  void ImgWidgetClick(const TPNGButton& Tile);
  void ImgWidgetDblClick(const TPNGButton& Tile);
  void ImgGetWidgetClick();
  void ImgTopMouseDown();
  void FormClose();

  std::vector<TWidgetInfo> FWidgets;
  int FPageIndex = -1;

  TPNGButton ImgBG, ImgTopLeft, ImgTop, ImgTopRight, ImgLeft, ImgRight, ImgBottomLeft, ImgBottom, ImgBottomRight;
  TPNGButton ImgClose, ImgCaption, ImgBtnLeft, ImgBtnMid, ImgBtnRight, ImgGetWidget;
  TPNGButton ImgTopLevel, ImgBottomLevel, ImgVision, ImgDescription;
  std::array<TPNGButton, kTiles> ImgWidget;
  std::array<int, kTiles> FTileTag{};  // the list index a tile shows
  std::array<std::unique_ptr<TPNGButton>, kTiles> ImgIcon, ImgName;
};
