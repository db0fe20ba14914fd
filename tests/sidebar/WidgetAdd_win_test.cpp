#include "WidgetAdd.h"

#include <gtest/gtest.h>

#include "LayeredSurface.h"
#include "SidebarHostFixture.h"

namespace {

using namespace sidebar_test;

// Tile centres in the gallery's client area, and its buttons.
constexpr POINT kTileCentres[] = {{128, 155}, {328, 151}, {528, 151}, {128, 284}, {328, 284}, {528, 280}};
constexpr POINT kPageLeft{43, 61}, kPageRight{139, 61}, kMoreWidgets{554, 61}, kClose{590, 15};

class GalleryTest : public SidebarHostTest {
 protected:
  void SetUp() override {
    SidebarHostTest::SetUp();
    ::SetCursorPos(5, 790);  // the real mouse stays off the gallery
  }

  void TearDown() override {
    TFmWidgetAdd::FreeInstance();
    FmOrvoSidebar = nullptr;
    SidebarHostTest::TearDown();
  }

  TFmWidgetAdd& Open() {
    FmOrvoSidebar = Bar.get();
    TFmWidgetAdd::ShowForm(Bar->Handle());
    TFmWidgetAdd* gallery = TFmWidgetAdd::Instance();
    EXPECT_NE(gallery, nullptr);
    PumpMessages();
    return *gallery;
  }

  static void Click(TFmWidgetAdd& Gallery, POINT At) {
    const LPARAM at = MAKELPARAM(At.x, At.y);
    ::SendMessageW(Gallery.Handle(), WM_MOUSEMOVE, 0, at);
    ::SendMessageW(Gallery.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    ::SendMessageW(Gallery.Handle(), WM_LBUTTONUP, 0, at);
  }

  static void DoubleClick(TFmWidgetAdd& Gallery, POINT At) {
    Click(Gallery, At);
    const LPARAM at = MAKELPARAM(At.x, At.y);
    ::SendMessageW(Gallery.Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    ::SendMessageW(Gallery.Handle(), WM_LBUTTONUP, 0, at);
  }

  // The tiles showing a widget, with the names under them.
  static std::vector<std::wstring> TileNames(const TFmWidgetAdd& Gallery) {
    std::vector<std::wstring> names;
    for (int k = 0; k < TFmWidgetAdd::kTiles; ++k) {
      const bool shown = Gallery.Tile(k).Visible;
      EXPECT_EQ(shown, Gallery.TileIcon(k) != nullptr) << "tile " << k;
      EXPECT_EQ(shown, Gallery.TileName(k) != nullptr) << "tile " << k;
      if (shown) names.push_back(Gallery.TileName(k)->Caption());
    }
    return names;
  }

  static std::vector<std::wstring> Listed(const TFmWidgetAdd& Gallery) {
    std::vector<std::wstring> files;
    for (const TWidgetInfo& info : Gallery.Widgets()) files.push_back(info.FileName);
    return files;
  }
};

TEST_F(GalleryTest, ListsLibrariesOfEveryDepthInCaseInsensitiveOrderAndLeavesOutBrokenOnes) {
  AddWidget(L"B", "");
  AddWidget(L"a", "");
  AddWidget(L"c\\d", "");  // two levels down
  AddWidget(L"x1", "", L"NoDescription");
  AddWidget(L"x2", "", L"NoName");
  AddWidget(L"x3", "", L"Bare");  // no exports at all
  WriteBytes(Dir / L"Widgets\\Text\\Widget.dll", "not a library");
  WriteBytes(Dir / L"Widgets\\Empty\\Widget.dll", "");
  WriteBytes(Dir / L"Widgets\\.hidden\\Widget.dll", "");
  Start();
  TFmWidgetAdd& gallery = Open();

  EXPECT_EQ(Listed(gallery), (std::vector<std::wstring>{Path(L"a"), Path(L"B"), Path(L"c\\d"), Path(L"x1"),
                                                        Path(L"x2"), Path(L"x3")}));
  const std::vector<TWidgetInfo>& widgets = gallery.Widgets();
  ASSERT_EQ(widgets.size(), 6u);
  EXPECT_EQ(widgets[0].Name, L"a");
  EXPECT_EQ(widgets[0].Vision, L"1.0");
  EXPECT_EQ(widgets[0].Description, L"test widget");
  EXPECT_EQ(widgets[3].Name, L"x1");
  EXPECT_EQ(widgets[3].Description, L"");
  EXPECT_EQ(widgets[4].Name, L"");
  EXPECT_EQ(widgets[4].Description, L"test widget");
  EXPECT_EQ(widgets[5].Name, L"");
  EXPECT_EQ(widgets[5].Vision, L"");
  EXPECT_EQ(widgets[5].Description, L"");
  EXPECT_EQ(TileNames(gallery), (std::vector<std::wstring>{L"a", L"B", L"c\\d", L"x1", L"", L""}));

  // Read for a moment only: no library stays loaded.
  for (const TWidgetInfo& info : widgets)
    EXPECT_EQ(::GetModuleHandleW(info.FileName.c_str()), nullptr) << testing::PrintToString(info.FileName);

  Click(gallery, kTileCentres[3]);
  EXPECT_EQ(gallery.VisionText(), L"x1  1.0");
  EXPECT_EQ(gallery.DescriptionText(), L"");
  Click(gallery, kTileCentres[0]);
  EXPECT_EQ(gallery.VisionText(), L"a  1.0");
  EXPECT_EQ(gallery.DescriptionText(), L"test widget");
}

TEST_F(GalleryTest, PagesOfSixWithLabelsAndTheButtonsStoppingAtTheEnds) {
  Start();
  TFmWidgetAdd& empty = Open();
  EXPECT_EQ(empty.PageLabel(), L"0/0");
  EXPECT_EQ(empty.PageIndex(), -1);
  EXPECT_TRUE(TileNames(empty).empty());
  Click(empty, kPageRight);
  Click(empty, kPageLeft);
  Click(empty, kTileCentres[0]);  // nothing there to select
  EXPECT_EQ(empty.PageLabel(), L"0/0");
  EXPECT_EQ(empty.VisionText(), L"");

  for (const wchar_t* name : {L"W1", L"W2", L"W3", L"W4", L"W5", L"W6"}) AddWidget(name, "");
  TFmWidgetAdd& six = Open();
  EXPECT_EQ(six.PageLabel(), L"1/1");
  EXPECT_EQ(TileNames(six).size(), 6u);

  AddWidget(L"W7", "");
  TFmWidgetAdd& gallery = Open();
  EXPECT_EQ(&gallery, &six);  // one gallery for the program's life
  EXPECT_EQ(gallery.PageLabel(), L"1/2");
  Click(gallery, kPageRight);
  EXPECT_EQ(gallery.PageLabel(), L"2/2");
  EXPECT_EQ(TileNames(gallery), std::vector<std::wstring>{L"W7"});
  EXPECT_TRUE(gallery.Tile(0).Visible);
  Click(gallery, kPageRight);
  EXPECT_EQ(gallery.PageLabel(), L"2/2");
  EXPECT_EQ(TileNames(gallery), std::vector<std::wstring>{L"W7"});
  Click(gallery, kPageLeft);
  EXPECT_EQ(gallery.PageLabel(), L"1/2");
  EXPECT_EQ(TileNames(gallery), (std::vector<std::wstring>{L"W1", L"W2", L"W3", L"W4", L"W5", L"W6"}));
  Click(gallery, kPageLeft);
  EXPECT_EQ(gallery.PageIndex(), 0);
}

TEST_F(GalleryTest, ClosingHidesAndReopeningShowsPageOneWithoutSelection) {
  for (const wchar_t* name : {L"W1", L"W2", L"W3", L"W4", L"W5", L"W6", L"W7"}) AddWidget(name, "");
  Start();
  TFmWidgetAdd& gallery = Open();
  EXPECT_TRUE(::IsWindowVisible(gallery.Handle()));
  Click(gallery, kPageRight);
  Click(gallery, kTileCentres[0]);
  EXPECT_EQ(gallery.VisionText(), L"W7  1.0");
  Click(gallery, kClose);
  EXPECT_FALSE(::IsWindowVisible(gallery.Handle()));
  ASSERT_NE(gallery.Handle(), nullptr);  // hidden, not destroyed

  TFmWidgetAdd& again = Open();
  EXPECT_TRUE(::IsWindowVisible(again.Handle()));
  EXPECT_EQ(again.PageLabel(), L"1/2");
  EXPECT_EQ(again.VisionText(), L"");
  EXPECT_EQ(again.DescriptionText(), L"");
  ::SendMessageW(again.Handle(), WM_CLOSE, 0, 0);
  EXPECT_FALSE(::IsWindowVisible(again.Handle()));
  EXPECT_NE(again.Handle(), nullptr);
}

TEST_F(GalleryTest, DoubleClickingATileTwiceOpensTwoWidgetsAndSavesFirst) {
  AddWidget(L"A", "Height=60\r\n");
  Start();
  TFmWidgetAdd& gallery = Open();
  DoubleClick(gallery, kTileCentres[0]);
  EXPECT_EQ(Order(), std::vector<std::wstring>{L"A"});
  // Saved before the widget opened: the list was written while still empty.
  EXPECT_TRUE(FileExists(Dir / L"LockWidgets.txt"));
  EXPECT_EQ(ReadBytes(Dir / L"LockWidgets.txt"), "");
  DoubleClick(gallery, kTileCentres[0]);
  EXPECT_EQ(Order(), (std::vector<std::wstring>{L"A", L"A"}));
  EXPECT_EQ(ReadBytes(Dir / L"LockWidgets.txt"), "A\\Widget.dll\r\n");
  EXPECT_TRUE(::IsWindowVisible(gallery.Handle()));  // the gallery stays open
  // The library now runs a widget: loaded, and still loaded after the gallery's next read.
  TFmWidgetAdd::ShowForm(Bar->Handle());
  EXPECT_NE(::GetModuleHandleW(Path(L"A").c_str()), nullptr);
}

TEST_F(GalleryTest, OwnedByTheBarWithoutTaskbarButtonCentredAndSkinned) {
  AddWidget(L"A", "Icon=icon.png\r\n");
  {
    TLayeredSurface icon(65, 61);
    Gdiplus::SolidBrush red(Gdiplus::Color(255, 255, 0, 0));
    icon.Graphics()->FillRectangle(&red, 0, 0, 65, 61);
    ASSERT_TRUE(icon.SavePng(Dir / L"Widgets\\A\\icon.png"));
  }
  Start();
  TFmWidgetAdd& gallery = Open();
  EXPECT_EQ(::GetWindow(gallery.Handle(), GW_OWNER), Bar->Handle());
  const LONG_PTR exStyle = ::GetWindowLongPtrW(gallery.Handle(), GWL_EXSTYLE);
  EXPECT_TRUE(exStyle & WS_EX_TOOLWINDOW);
  EXPECT_FALSE(exStyle & WS_EX_APPWINDOW);
  wchar_t caption[32] = {};
  ::GetWindowTextW(gallery.Handle(), caption, 32);
  EXPECT_STREQ(caption, L"添加小工具");

  RECT r{};
  ::GetWindowRect(gallery.Handle(), &r);
  RECT work{};
  ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  EXPECT_EQ(r.right - r.left, 662);
  EXPECT_EQ(r.bottom - r.top, 463);
  EXPECT_EQ(r.left, work.left + (work.right - work.left - 662) / 2);
  EXPECT_EQ(r.top, work.top + (work.bottom - work.top - 463) / 2);

  // The 65 x 61 icon centred on tile 1 (68, 95) above its name line.
  const TPNGButton* icon = gallery.TileIcon(0);
  ASSERT_NE(icon, nullptr);
  EXPECT_EQ(icon->Width(), 65);
  EXPECT_EQ(icon->Height(), 61);
  EXPECT_EQ(icon->Left(), 68 + 27);
  EXPECT_EQ(icon->Top(), 95 + 19);
  EXPECT_FALSE(icon->Visible);  // painted, but the tile takes the mouse

  const std::unique_ptr<TLayeredSurface> image = gallery.ComposeWindow();
  auto alpha = [&](int X, int Y) { return image->Pixel(X, Y) >> 24; };
  EXPECT_EQ(image->Pixel(68 + 27 + 30, 95 + 19 + 30), 0xFFFF0000u);  // the icon
  EXPECT_EQ(alpha(300, 200), 255u);                                 // the body
  EXPECT_EQ(alpha(660, 200), 0u);                                   // outside the frame
}

TEST_F(GalleryTest, MoreWidgetsLinkOpensTheMakersSiteWithAHandCursor) {
  Start();
  TFmWidgetAdd& gallery = Open();
  std::vector<std::wstring> opened;
  gallery.OpenAddress = [&](const std::wstring& Address) { opened.push_back(Address); };
  Click(gallery, kMoreWidgets);
  EXPECT_EQ(opened, std::vector<std::wstring>{L"http://" ORVO_MAKER_URL_W});

  POINT screen = kMoreWidgets;
  ::ClientToScreen(gallery.Handle(), &screen);
  ::SetCursorPos(screen.x, screen.y);
  ::SendMessageW(gallery.Handle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(gallery.Handle()),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  EXPECT_EQ(::GetCursor(), ::LoadCursorW(nullptr, IDC_HAND));
}

}  // namespace
