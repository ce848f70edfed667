// The configuration dialog, the splash and the About window laid out again
// when Windows reports a new DPI (WM_DPICHANGED), in this process: at each
// DPI they are their 96-DPI design scaled, with no text clipped, and back at
// the DPI they were made at they are exactly as they were made.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

#include "core/ProductInfo.h"
#include "forms/About.h"
#include "forms/ConfigureFrm.h"
#include "forms/ControlIds.h"
#include "forms/Splash.h"
#include "platform/Application.h"
#include "platform/ScreenFont.h"
#include "support/SettingsFixture.h"
#include "support/WindowLayout.h"

namespace {

class TDpiLayoutTest : public TSettingsTest {
 protected:
  // Lays Form out at 120, 144 and 192 DPI and back at the DPI it was made at.
  static void ExpectLaidOutAtEachDpi(TForm& Form, const std::string& What) {
    HWND Window = Form.Handle();
    const int Made = Form.Dpi();
    EXPECT_EQ(Made, WindowDpi(Window)) << What << " is made at its monitor's DPI";
    const std::vector<TLaidOutWindow> AsMade = LayoutOf(Window);
    int Current = Made;
    auto ChangeTo = [&](int Dpi) {
      const RECT Suggested = SendDpiChanged(Window, Current, Dpi);
      Current = Dpi;
      EXPECT_EQ(Form.Dpi(), Dpi) << What;
      RECT Taken;
      GetWindowRect(Window, &Taken);
      EXPECT_TRUE(EqualRect(&Taken, &Suggested)) << What << " takes the suggested rectangle at " << Dpi;
    };
    if (Made != DesignDpi) ChangeTo(DesignDpi);
    const std::vector<TLaidOutWindow> Design = LayoutOf(Window);
    for (int Dpi : {120, 144, 192}) {
      ChangeTo(Dpi);
      const std::string At = What + " at " + std::to_string(Dpi) + " DPI";
      const std::vector<TLaidOutWindow> Scaled = LayoutOf(Window);
      ExpectScaledLayout(Design, Scaled, Dpi, At);
      ExpectInsideParents(Scaled, At);
      ExpectTextFits(Window, Dpi, At);
    }
    ChangeTo(Made);
    ExpectSameLayout(AsMade, LayoutOf(Window), What + " back at " + std::to_string(Made) + " DPI");
  }
};

TEST_F(TDpiLayoutTest, TheDialogSplashAndAboutAreTheirDesignScaledAtEachDpiAndAsMadeWhenBack) {
  UseScratchInstallDir();
  TApplication App;
  {
    TConfigureForm Dialog(App, nullptr);
    ExpectLaidOutAtEachDpi(Dialog, "dialog");
    auto ItemHeight = [&Dialog] { return SendMessageA(Dialog.lstbxImages.Handle(), LB_GETITEMHEIGHT, 0, 0); };
    SendDpiChanged(Dialog.Handle(), Dialog.Dpi(), DesignDpi);
    const int Width = Dialog.PreviewWidth, Height = Dialog.PreviewHeight;
    const LRESULT Item = ItemHeight();
    SendDpiChanged(Dialog.Handle(), DesignDpi, 192);
    // Pictures are fitted to the preview box at its new size.
    EXPECT_EQ(Dialog.PreviewWidth, ScaleToDpi(Width, 192));
    EXPECT_EQ(Dialog.PreviewHeight, ScaleToDpi(Height, 192));
    // The list's item height is the design's at every DPI, not the font's,
    // unless the font is taller: a line is never cut.
    EXPECT_EQ(ItemHeight(), std::max(ScaleToDpi(static_cast<int>(Item), 192), FontHeight(NamesFontForDpi(192))));
    EXPECT_GE(ItemHeight(), FontHeight(NamesFontForDpi(192)));
    Dialog.Destroy();
  }
  {
    TSplashForm Splash(App, App.Handle());
    ExpectLaidOutAtEachDpi(Splash, "splash");
    // The product name is fitted to its design width at the DPI of the
    // label: at twice the DPI the same point size fits twice the width.
    TLabel& Name = Splash.ProductName;
    const int Points = Name.FontPoints();
    SendDpiChanged(Splash.Handle(), Splash.Dpi(), 192);
    FitProductNameFont(Name);
    EXPECT_LE(Name.TextWidth(ProductName), ScaleToDpi(ProductNameWidth, 192));
    EXPECT_GE(Name.FontPoints(), Points - 1) << "fitted at " << Points << " points where it was made";
    Splash.Destroy();
  }
  {
    TAboutBox About(App, App.Handle());
    ExpectLaidOutAtEachDpi(About, "About");
    About.Destroy();
  }
}

}  // namespace
