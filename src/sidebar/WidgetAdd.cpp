#include "WidgetAdd.h"

#include <shellapi.h>

#include "Application.h"
#include "GalleryPages.h"
#include "Hourglass.h"
#include "Sidebar.h"
#include "ZekTools.h"

namespace {

constexpr wchar_t kGalleryClass[] = L"TFmWidgetAdd";
constexpr int kWidth = 662, kHeight = 463;
constexpr wchar_t kSkinDir[] = L"SKIN\\WidgetLib\\";
constexpr wchar_t kWidgetsDir[] = L"Widgets\\";
constexpr COLORREF kBlue = RGB(0, 0, 255);

TFmWidgetAdd* gInstance = nullptr;

// "宋体" at a pixel height (the captions are given in pixels; TFont counts points).
TFont SongTi(float Pixels, bool Bold) {
  TFont font;
  font.Name = L"宋体";
  font.Size = Pixels * 72.0f / 96.0f;
  font.Color = kBlue;
  font.Bold = Bold;
  return font;
}

struct TTilePlace {
  int Left, Top;
};
constexpr TTilePlace kTilePlaces[TFmWidgetAdd::kTiles] = {{68, 95},   {268, 91},  {468, 91},
                                                          {68, 224},  {268, 224}, {468, 220}};
constexpr int kTileSize = 120;

void OpenWithShell(const std::wstring& Address) {
  ::ShellExecuteW(nullptr, L"Open", Address.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace

TFmWidgetAdd* TFmWidgetAdd::Instance() { return gInstance; }

void TFmWidgetAdd::FreeInstance() {
  delete gInstance;
  gInstance = nullptr;
}

void TFmWidgetAdd::ShowForm(HWND AParHandle) {
  // A gallery whose window went with its owner is made anew.
  if (gInstance && !gInstance->Handle()) FreeInstance();
  if (!gInstance) {
    auto* gallery = new TFmWidgetAdd(AParHandle);
    if (!gallery->Handle()) {
      delete gallery;
      return;
    }
    gInstance = gallery;
  }
  gInstance->LoadWidgetList();
  ::ShowWindow(gInstance->Handle(), SW_SHOW);
  ::SetForegroundWindow(gInstance->Handle());
}

TFmWidgetAdd::TFmWidgetAdd(HWND AParHandle) : OpenAddress(OpenWithShell) {
  const RECT frame = CentredFrame(kWidth, kHeight, WS_POPUP, WS_EX_TOOLWINDOW);
  if (!CreateForm(kGalleryClass, L"添加小工具", frame.left, frame.top, kWidth, kHeight,
                  AParHandle ? AParHandle : Application.MainFormHandle()))
    return;
  FormCreate();
}

TFmWidgetAdd::~TFmWidgetAdd() { ClearWidgetList(); }

void TFmWidgetAdd::FormCreate() {
  TFmWidgetBase::FormCreate();
  // Buttons that take the mouse, back to front; the texts, lines, icons and names only
  // ask for repaints.
  for (TPNGButton* button : {&ImgBG, &ImgTopLeft, &ImgTop, &ImgTopRight, &ImgLeft, &ImgRight, &ImgBottomLeft,
                             &ImgBottom, &ImgBottomRight, &ImgClose, &ImgBtnLeft, &ImgBtnRight, &ImgGetWidget})
    AddButton(*button);
  for (TPNGButton& tile : ImgWidget) AddButton(tile);
  for (TPNGButton* button : {&ImgCaption, &ImgBtnMid, &ImgTopLevel, &ImgBottomLevel, &ImgVision, &ImgDescription})
    button->SetNotifyHandle(Handle());

  ImgBG.SetBounds(23, 38, 604, 403);
  ImgTopLeft.SetBounds(-3, 0, 26, 38);
  ImgTop.SetBounds(23, 0, 602, 38);
  ImgTopRight.SetBounds(624, 0, 26, 38);
  ImgLeft.SetBounds(-3, 38, 26, 394);
  ImgRight.SetBounds(624, 38, 26, 396);
  ImgBottomLeft.SetBounds(-3, 432, 26, 24);
  ImgBottom.SetBounds(23, 436, 602, 20);
  ImgBottomRight.SetBounds(624, 432, 26, 24);
  ImgClose.SetBounds(570, 4, 40, 22);
  ImgCaption.SetBounds(32, 20, 81, 20);
  ImgBtnLeft.SetBounds(32, 50, 23, 23);
  ImgBtnMid.SetBounds(55, 50, 73, 23);
  ImgBtnRight.SetBounds(128, 50, 23, 23);
  ImgGetWidget.SetBounds(488, 50, 133, 23);
  ImgTopLevel.SetBounds(31, 84, 590, 1);
  ImgBottomLevel.SetBounds(31, 350, 590, 1);
  ImgVision.SetBounds(32, 355, 257, 12);
  ImgDescription.SetBounds(32, 377, 589, 56);
  for (TPNGButton* button : {&ImgTopLeft, &ImgTopRight, &ImgBottomLeft, &ImgBottomRight, &ImgClose, &ImgBtnMid})
    button->AutoSize = true;

  // One line each, drawn smaller where a substituted face runs wider than "宋体".
  for (TPNGButton* button : {&ImgCaption, &ImgBtnMid, &ImgGetWidget, &ImgVision}) button->FitCaption = true;
  ImgCaption.Font = SongTi(15, true);
  ImgCaption.FStringAlignment = Gdiplus::StringAlignmentCenter;
  ImgCaption.SetCaption(L"添加小工具");
  ImgBtnMid.Font = SongTi(12, true);
  ImgBtnMid.FStringAlignment = Gdiplus::StringAlignmentCenter;
  ImgGetWidget.Font = ImgGetWidget.FontOver = SongTi(12, true);
  ImgGetWidget.Cursor = IDC_HAND;
  ImgGetWidget.SetCaption(L"获取更多小工具...");
  ImgVision.Font = SongTi(12, true);
  ImgDescription.Font = SongTi(12, true);

  for (int k = 0; k < kTiles; ++k) {
    TPNGButton& tile = ImgWidget[static_cast<std::size_t>(k)];
    tile.SetBounds(kTilePlaces[k].Left, kTilePlaces[k].Top, kTileSize, kTileSize);
    tile.Visible = false;
    tile.OnClick = [this](TPNGButton& Tile) { ImgWidgetClick(Tile); };
    tile.OnDblClick = [this](TPNGButton& Tile) { ImgWidgetDblClick(Tile); };
  }
  ImgBtnLeft.OnClick = [this](TPNGButton&) { ShowPage(-1); };
  ImgBtnRight.OnClick = [this](TPNGButton&) { ShowPage(1); };
  ImgClose.OnClick = [this](TPNGButton&) { FormClose(); };
  ImgGetWidget.OnClick = [this](TPNGButton&) { ImgGetWidgetClick(); };
  ImgTop.OnMouseDown = [this](TPNGButton&, TMouseButton Button, int, int) {
    if (Button == TMouseButton::Left) ImgTopMouseDown();
  };
  FWidgets.clear();
}

void TFmWidgetAdd::SetSkinImages(const std::wstring& SkinDir) {
  const std::pair<TPNGButton*, const wchar_t*> images[] = {
      {&ImgBG, L"bg.png"},           {&ImgTopLeft, L"top_left.png"},       {&ImgTop, L"top.png"},
      {&ImgTopRight, L"top_right.png"}, {&ImgLeft, L"left.png"},           {&ImgRight, L"right.png"},
      {&ImgBottomLeft, L"bottom_left.png"}, {&ImgBottom, L"bottom.png"}, {&ImgBottomRight, L"bottom_right.png"},
      {&ImgClose, L"btn_Close.png"}, {&ImgBtnLeft, L"btn_Left.png"},     {&ImgBtnMid, L"btn_Mid.png"},
      {&ImgBtnRight, L"btn_Right.png"}, {&ImgTopLevel, L"Line.png"},     {&ImgBottomLevel, L"Line.png"}};
  for (const auto& [button, file] : images) button->SetImageNormal(SkinDir + file);
  ImgClose.SetImageOver(SkinDir + L"btn_Close_Over.png");
  ImgBtnLeft.SetImageOver(SkinDir + L"btn_Left_Over.png");
  ImgBtnRight.SetImageOver(SkinDir + L"btn_Right_Over.png");
  for (TPNGButton& tile : ImgWidget) tile.SetImageOver(SkinDir + L"WidgetIconNormal.png");
}

void TFmWidgetAdd::LoadWidgetList() {
  const THourglass wait;
  BeginUpdate();
  const std::wstring programDir = FmOrvoSidebar ? FmOrvoSidebar->ProgramDir() : GetModuleDir();
  SetSkinImages(programDir + kSkinDir);
  const std::vector<std::wstring> paths = FindWidgetLibraries(programDir + kWidgetsDir);
  ClearWidgetList();
  for (const std::wstring& path : paths)
    if (std::optional<TWidgetInfo> info = ReadWidgetInfo(path)) FWidgets.push_back(std::move(*info));
  FPageIndex = -1;
  ShowPage(1);
  ImgVision.SetCaption(L"");
  ImgDescription.SetCaption(L"");
  EndUpdate();
}

void TFmWidgetAdd::ClearWidgetList() {
  for (int k = 0; k < kTiles; ++k) HideTile(k);
  FWidgets.clear();
}

void TFmWidgetAdd::ShowPage(int ADelta) {
  BeginUpdate();
  const int count = static_cast<int>(FWidgets.size());
  const int page = StepGalleryPage(FPageIndex, ADelta, count);
  // A reload starts from page -1 with every tile cleared, so it always rebuilds.
  if (page != FPageIndex) {
    for (int k = 0; k < kTiles; ++k) {
      const int index = TileListIndex(page, k, count);
      if (index < 0) {
        HideTile(k);
        continue;
      }
      auto& icon = ImgIcon[static_cast<std::size_t>(k)];
      auto& name = ImgName[static_cast<std::size_t>(k)];
      if (!icon) icon = std::make_unique<TPNGButton>();
      if (!name) name = std::make_unique<TPNGButton>();
      ShowTile(*icon, *name, index);
    }
  }
  FPageIndex = page;
  ImgBtnMid.SetCaption(GalleryPageLabel(FPageIndex, count));
  EndUpdate();
}

void TFmWidgetAdd::ShowTile(TPNGButton& Icon, TPNGButton& Name, int Index) {
  TPNGButton& tile = ImgWidget[static_cast<std::size_t>(Index % kTiles)];
  const TWidgetInfo& info = FWidgets[static_cast<std::size_t>(Index)];
  Icon.SetNotifyHandle(Handle());
  Name.SetNotifyHandle(Handle());
  Icon.AutoSize = true;
  Icon.SetImageNormal(info.Icon);
  const TIconOrigin origin =
      TileIconOrigin(tile.Left(), tile.Top(), tile.Width(), tile.Height(), Icon.Width(), Icon.Height());
  Icon.SetBounds(origin.Left, origin.Top, Icon.Width(), Icon.Height());

  Name.Font.Name = L"宋体";
  Name.Font.Size = 9;
  Name.Font.Color = kBlue;
  Name.FontOver = Name.Font;
  Name.FStringAlignment = Gdiplus::StringAlignmentCenter;
  // A long name stays on its line, drawn smaller.
  Name.FitCaption = true;
  Name.SetBounds(tile.Left(), tile.Top() + tile.Height() - kTileNameHeight, tile.Width(), kTileNameHeight);
  Name.SetCaption(info.Name);

  // Invisible to the mouse, so the tile beneath takes every click; painted all the same.
  Icon.Visible = false;
  Name.Visible = false;
  tile.Visible = true;
  FTileTag[static_cast<std::size_t>(Index % kTiles)] = Index;
}

void TFmWidgetAdd::HideTile(int K) {
  ImgIcon[static_cast<std::size_t>(K)].reset();
  ImgName[static_cast<std::size_t>(K)].reset();
  TPNGButton& tile = ImgWidget[static_cast<std::size_t>(K)];
  if (tile.IsMouseOver()) tile.MouseLeave();
  tile.Visible = false;
}

void TFmWidgetAdd::ImgWidgetClick(const TPNGButton& Tile) {
  const int index = FTileTag[static_cast<std::size_t>(&Tile - ImgWidget.data())];
  if (index < 0 || index >= static_cast<int>(FWidgets.size())) return;
  const TWidgetInfo& info = FWidgets[static_cast<std::size_t>(index)];
  BeginUpdate();
  ImgVision.SetCaption(info.Name + L"  " + info.Vision);
  ImgDescription.SetCaption(info.Description);
  EndUpdate();
}

void TFmWidgetAdd::ImgWidgetDblClick(const TPNGButton& Tile) {
  const int index = FTileTag[static_cast<std::size_t>(&Tile - ImgWidget.data())];
  if (index < 0 || index >= static_cast<int>(FWidgets.size()) || !FmOrvoSidebar) return;
  // A copy: the widget's start may pump messages that reload this list.
  const std::wstring fileName = FWidgets[static_cast<std::size_t>(index)].FileName;
  FmOrvoSidebar->ShowWidget(fileName, true);
}

void TFmWidgetAdd::ImgGetWidgetClick() {
  if (OpenAddress) OpenAddress(MakerSiteAddress(ORVO_MAKER_URL_W));
}

void TFmWidgetAdd::ImgTopMouseDown() {
  // The system's own move loop, as if the top edge were a caption.
  ::ReleaseCapture();
  ::SendMessageW(Handle(), WM_SYSCOMMAND, SC_MOVE | HTCAPTION, 0);
}

void TFmWidgetAdd::FormClose() {
  ::SendMessageW(Handle(), WM_MOUSELEAVE, 0, 0);  // no hover image left for the next opening
  ::ShowWindow(Handle(), SW_HIDE);
}

void TFmWidgetAdd::PaintButtons(Gdiplus::Graphics& Graphics) {
  for (const TPNGButton* button :
       {&ImgBG, &ImgBtnLeft, &ImgBtnRight, &ImgBtnMid, &ImgTopLeft, &ImgTop, &ImgTopRight, &ImgBottomLeft, &ImgLeft,
        &ImgBottomRight, &ImgRight, &ImgBottom, &ImgClose, &ImgTopLevel, &ImgBottomLevel, &ImgDescription,
        &ImgGetWidget, &ImgVision, &ImgCaption})
    DrawPNGButton(Graphics, *button);
  for (int k = 0; k < kTiles; ++k) {
    const TPNGButton* icon = ImgIcon[static_cast<std::size_t>(k)].get();
    const TPNGButton* name = ImgName[static_cast<std::size_t>(k)].get();
    if (!icon || !name) continue;
    DrawPNGButton(Graphics, ImgWidget[static_cast<std::size_t>(k)]);
    DrawPNGButton(Graphics, *icon);
    DrawPNGButton(Graphics, *name);
  }
}

LRESULT TFmWidgetAdd::HandleMessage(UINT Msg, WPARAM wParam, LPARAM lParam) {
  switch (Msg) {
    case WM_CLOSE:
      FormClose();
      return 0;
    default:
      break;
  }
  return TFmWidgetBase::HandleMessage(Msg, wParam, lParam);
}
