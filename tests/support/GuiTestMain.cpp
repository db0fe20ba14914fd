// main of the Windows tests that make windows: GDI+ and the application's owner window
// exist for the whole run, as in the programs.
#include <gtest/gtest.h>

#include "Application.h"
#include "SkinImage.h"

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  const TGdiPlusSession gdiplus;
  Application.Initialize();
  const int result = RUN_ALL_TESTS();
  Application.Finalize();
  return result;
}
