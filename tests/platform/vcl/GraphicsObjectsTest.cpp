#include <gtest/gtest.h>

#include "vcl/Graphics.h"

namespace {

LOGFONT LogOf(HFONT f) {
  LOGFONT lf;
  EXPECT_NE(GetObject(f, int(sizeof lf), &lf), 0);
  return lf;
}

TEST(Font, SizeAndHeightConvertThroughTheResolution) {
  struct Case {
    int ppi, size, height;
  };
  // Height = -MulDiv(Size, ppi, 72); halves go away from zero.
  const Case sizes[] = {{96, 8, -11}, {96, 9, -12}, {96, 10, -13}, {96, 12, -16}, {144, 8, -16}, {120, 9, -15}};
  for (const Case& c : sizes) {
    TFont f;
    f.SetPixelsPerInch(c.ppi);
    f.SetSize(c.size);
    EXPECT_EQ(f.Height(), c.height) << c.size << "pt at " << c.ppi;
    EXPECT_EQ(f.Size(), c.size);
  }
  struct Back {
    int height, size;
  };
  const Back heights[] = {{-11, 8}, {-14, 11}, {-15, 11}, {-13, 10}, {20, -15}, {0, 0}};
  for (const Back& c : heights) {
    TFont f;
    f.SetPixelsPerInch(96);
    f.SetHeight(c.height);
    EXPECT_EQ(f.Size(), c.size) << c.height;
  }
}

TEST(Font, DefaultsAndAssignKeepingThePointSize) {
  TFont f;
  EXPECT_EQ(f.Name(), "Tahoma");
  EXPECT_EQ(f.Size(), 8);
  EXPECT_EQ(f.Color(), clWindowText);
  EXPECT_TRUE(f.Style().Empty());

  TFont big;
  big.SetPixelsPerInch(144);
  big.SetSize(12);
  big.SetStyle({fsBold, fsUnderline});
  big.SetColor(clRed);
  big.SetName("Arial");
  TFont normal;
  normal.SetPixelsPerInch(96);
  int changes = 0;
  normal.OnChange = [&](TObject*) { ++changes; };
  normal.Assign(&big);
  EXPECT_EQ(normal.Size(), 12);
  EXPECT_EQ(normal.Height(), -16);
  EXPECT_EQ(normal.Style(), (TFontStyles{fsBold, fsUnderline}));
  EXPECT_EQ(normal.Color(), clRed);
  EXPECT_EQ(normal.Name(), "Arial");
  EXPECT_EQ(changes, 1);
  normal.Assign(&big);
  EXPECT_EQ(changes, 1);  // nothing changed
  TPen pen;
  EXPECT_THROW(normal.Assign(&pen), EConvertError);
}

TEST(Font, HandleFollowsTheProperties) {
  TFont f;
  f.SetName("Arial");
  f.SetHeight(-20);
  f.SetStyle({fsItalic, fsStrikeOut});
  f.SetOrientation(900);
  LOGFONT lf = LogOf(f.Handle());
  EXPECT_EQ(lf.lfFaceName, "Arial");
  EXPECT_EQ(lf.lfHeight, -20);
  EXPECT_EQ(lf.lfWeight, FW_NORMAL);
  EXPECT_EQ(lf.lfItalic, 1);
  EXPECT_EQ(lf.lfStrikeOut, 1);
  EXPECT_EQ(lf.lfEscapement, 900);

  HFONT before = f.Handle();
  EXPECT_EQ(f.Handle(), before);  // made once
  f.SetColor(clBlue);
  EXPECT_EQ(f.Handle(), before);  // colour is not part of it
  f.SetStyle({fsBold});
  lf = LogOf(f.Handle());
  EXPECT_EQ(lf.lfWeight, FW_BOLD);
  EXPECT_EQ(lf.lfItalic, 0);
}

TEST(Font, AdoptsAHandle) {
  TFont f;
  HFONT h = CreateFont(-17, 0, 0, 0, FW_BOLD, TRUE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, 0, FIXED_PITCH, "Courier New");
  int changes = 0;
  f.OnChange = [&](TObject*) { ++changes; };
  f.SetHandle(h);
  EXPECT_EQ(f.Handle(), h);
  EXPECT_EQ(f.Name(), "Courier New");
  EXPECT_EQ(f.Height(), -17);
  EXPECT_EQ(f.Style(), (TFontStyles{fsBold, fsItalic}));
  EXPECT_EQ(f.Pitch(), fpFixed);
  EXPECT_EQ(changes, 1);
}

TEST(PenAndBrush, HandlesCarryResolvedColours) {
  TPen pen;
  pen.SetColor(clBtnShadow);
  pen.SetWidth(3);
  pen.SetStyle(psDot);
  LOGPEN lp;
  ASSERT_NE(GetObject(pen.Handle(), int(sizeof lp), &lp), 0);
  EXPECT_EQ(lp.lopnColor, GetSysColor(COLOR_BTNSHADOW));
  EXPECT_EQ(lp.lopnWidth.X, 3);
  EXPECT_EQ(lp.lopnStyle & PS_STYLE_MASK, UINT(PS_DOT));
  pen.SetWidth(-1);
  EXPECT_EQ(pen.Width(), 3);
  EXPECT_EQ(PenModeToRop2(pmXor), R2_XORPEN);
  EXPECT_EQ(PenModeToRop2(pmNotCopy), R2_NOTCOPYPEN);

  TBrush brush;
  brush.SetStyle(bsClear);
  LOGBRUSH lb;
  ASSERT_NE(GetObject(brush.Handle(), int(sizeof lb), &lb), 0);
  EXPECT_EQ(lb.lbStyle, BS_NULL);
  brush.SetColor(clLime);  // a colour makes the brush solid again
  EXPECT_EQ(brush.Style(), bsSolid);
  ASSERT_NE(GetObject(brush.Handle(), int(sizeof lb), &lb), 0);
  EXPECT_EQ(lb.lbStyle, BS_SOLID);
  EXPECT_EQ(lb.lbColor, COLORREF(clLime));
  brush.SetStyle(bsDiagCross);
  ASSERT_NE(GetObject(brush.Handle(), int(sizeof lb), &lb), 0);
  EXPECT_EQ(lb.lbStyle, BS_HATCHED);
  EXPECT_EQ(lb.lbHatch, uintptr_t(HS_DIAGCROSS));
}

TColor PurpleStyle(TColor) { return clPurple; }

TEST(Colors, SystemColoursResolveThroughTheHookFirst) {
  EXPECT_EQ(ColorToRGB(clBtnFace), TColor(GetSysColor(COLOR_BTNFACE)));
  EXPECT_EQ(ColorToRGB(clHighlight), TColor(GetSysColor(COLOR_HIGHLIGHT)));
  EXPECT_EQ(ColorToRGB(clNone), clNone);
  EXPECT_EQ(ColorToRGB(TColor(0x123456)), 0x123456);
  EXPECT_EQ(clBtnFace, TColor(0xFF00000F));
  EXPECT_LT(clBtnFace, 0);  // system colours are negative, as the framework tests them

  SetStyleSysColorHook(PurpleStyle);
  EXPECT_EQ(ColorToRGB(clWindow), clPurple);
  EXPECT_EQ(ColorToRGB(clRed), clRed);
  SetStyleSysColorHook(nullptr);
  EXPECT_EQ(ColorToRGB(clWindow), TColor(GetSysColor(COLOR_WINDOW)));
}

TEST(Colors, NamesAndText) {
  EXPECT_EQ(ColorToString(clBtnFace), "clBtnFace");
  EXPECT_EQ(ColorToString(clSilver), "clSilver");
  EXPECT_EQ(ColorToString(TColor(0x00123456)), "$00123456");
  EXPECT_EQ(StringToColor("clltgray"), clLtGray);
  EXPECT_EQ(StringToColor("$00FF8000"), TColor(0xFF8000));
  EXPECT_EQ(StringToColor("255"), clRed);
  EXPECT_THROW(StringToColor("clNoSuchColour"), EConvertError);
}

}  // namespace
