#include <gtest/gtest.h>

#include "support/Canvas.h"
#include "vcl/Graphics.h"

namespace {

// A 40 x 30 opaque white pf24bit bitmap to draw on.
class CanvasTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FBitmap.SetPixelFormat(pf24bit);
    FBitmap.SetSize(40, 30);
  }
  TCanvas* Canvas() { return FBitmap.Canvas(); }
  COLORREF At(int x, int y) { return ColorRefFromPixel(static_cast<uint32_t*>(FBitmap.ScanLine(y))[x]); }

  TBitmap FBitmap;
};

TEST_F(CanvasTest, ShapesUseThePenAndTheBrush) {
  EXPECT_EQ(At(0, 0), RGB(255, 255, 255));  // new opaque pictures are white
  Canvas()->Pen()->SetColor(clRed);
  Canvas()->Brush()->SetColor(clBlue);
  Canvas()->Rectangle(5, 5, 15, 15);
  EXPECT_EQ(At(5, 5), RGB(255, 0, 0));
  EXPECT_EQ(At(14, 10), RGB(255, 0, 0));
  EXPECT_EQ(At(10, 10), RGB(0, 0, 255));
  EXPECT_EQ(At(15, 10), RGB(255, 255, 255));  // right edge excluded

  // Changes after drawing are selected for the next call.
  Canvas()->Brush()->SetColor(clLime);
  Canvas()->FillRect(Rect(20, 0, 30, 10));
  EXPECT_EQ(At(25, 5), RGB(0, 255, 0));
  Canvas()->Pen()->SetColor(clFuchsia);
  Canvas()->Pen()->SetWidth(1);
  Canvas()->MoveTo(0, 20);
  Canvas()->LineTo(10, 20);
  EXPECT_EQ(At(9, 20), RGB(255, 0, 255));
  EXPECT_EQ(At(10, 20), RGB(255, 255, 255));  // the end point is not drawn
  EXPECT_EQ(Canvas()->PenPos(), Point(10, 20));

  Canvas()->Brush()->SetStyle(bsClear);
  Canvas()->Pen()->SetColor(clBlack);
  Canvas()->Ellipse(20, 15, 36, 29);
  EXPECT_EQ(At(28, 22), RGB(255, 255, 255));  // hollow inside
  Canvas()->Polygon({Point(0, 25), Point(6, 25), Point(6, 29)});
  EXPECT_EQ(At(0, 25), RGB(0, 0, 0));
}

TEST_F(CanvasTest, PenModeIsAppliedToTheDC) {
  Canvas()->Pen()->SetMode(pmNot);
  Canvas()->MoveTo(0, 1);
  Canvas()->LineTo(5, 1);
  EXPECT_EQ(At(2, 1), RGB(0, 0, 0));  // white inverted
  Canvas()->Pen()->SetMode(pmCopy);
  Canvas()->Pen()->SetColor(clBlue);
  Canvas()->MoveTo(0, 2);
  Canvas()->LineTo(5, 2);
  EXPECT_EQ(At(2, 2), RGB(0, 0, 255));
}

TEST_F(CanvasTest, TextBackgroundFollowsTheBrush) {
  Canvas()->Font()->SetColor(clRed);
  Canvas()->Font()->SetHeight(-16);
  Canvas()->Brush()->SetColor(clYellow);
  Canvas()->TextOut(2, 2, "_");
  EXPECT_EQ(At(2, 2), RGB(255, 255, 0));  // the cell is filled with the solid brush
  EXPECT_EQ(Canvas()->PenPos().X, 2 + Canvas()->TextWidth("_"));

  Canvas()->Brush()->SetStyle(bsClear);
  Canvas()->TextOut(20, 2, "_");
  EXPECT_EQ(At(20, 2), RGB(255, 255, 255));  // transparent text
}

TEST_F(CanvasTest, TextIsDrawnAndMeasuredInTheFont) {
  Canvas()->Font()->SetName("DejaVu Sans");
  Canvas()->Font()->SetHeight(-20);
  Canvas()->Font()->SetStyle({fsBold});
  Canvas()->Font()->SetColor(clRed);
  Canvas()->Brush()->SetStyle(bsClear);
  Canvas()->TextOut(0, 0, "IH");
  int red = 0;
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 40; ++x) red += At(x, y) == RGB(255, 0, 0);
  EXPECT_GT(red, 20);  // stems of bold capitals cover whole pixels

  const int width = Canvas()->TextWidth("Hello");
  EXPECT_GT(width, 0);
  TEXTMETRIC tm;
  ASSERT_TRUE(GetTextMetrics(Canvas()->Handle(), &tm));
  EXPECT_EQ(Canvas()->TextHeight("Hello"), tm.tmHeight);
  Canvas()->Font()->SetHeight(-40);
  EXPECT_GT(Canvas()->TextWidth("Hello"), width);  // a new handle was selected
}

TEST_F(CanvasTest, HandleHasTheCurrentFontSelected) {
  Canvas()->Font()->SetHeight(-12);
  HDC dc = Canvas()->Handle();
  EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), Canvas()->Font()->Handle());
  Canvas()->Font()->SetHeight(-30);
  dc = Canvas()->Handle();
  LOGFONT lf;
  GetObject(GetCurrentObject(dc, OBJ_FONT), int(sizeof lf), &lf);
  EXPECT_EQ(lf.lfHeight, -30);
}

TEST_F(CanvasTest, TextRectFormatsWithDrawText) {
  Canvas()->Font()->SetHeight(-12);
  TRect r = Rect(0, 0, 40, 0);
  String text = "one two three four";
  Canvas()->TextRect(r, text, {tfCalcRect, tfWordBreak});
  EXPECT_GT(r.Height(), Canvas()->TextHeight("one"));  // several lines
  EXPECT_EQ(TextFormatToDT({tfCenter, tfVerticalCenter, tfSingleLine}), DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

TEST_F(CanvasTest, PixelsAndClipRect) {
  Canvas()->SetPixels(3, 4, clNavy);
  EXPECT_EQ(Canvas()->Pixels(3, 4), clNavy);
  EXPECT_EQ(Canvas()->Pixels(100, 4), TColor(CLR_INVALID));
  EXPECT_EQ(Canvas()->ClipRect(), Rect(0, 0, 40, 30));
}

TEST_F(CanvasTest, DrawingOnTheCanvasChangesTheBitmap) {
  int changes = 0;
  FBitmap.OnChange = [&](TObject* sender) {
    EXPECT_EQ(sender, &FBitmap);
    ++changes;
  };
  Canvas()->FillRect(Rect(0, 0, 5, 5));
  EXPECT_EQ(changes, 1);
  Canvas()->TextWidth("x");  // measuring changes nothing
  EXPECT_EQ(changes, 1);
  TBitmap other(3, 3);
  Canvas()->Draw(1, 1, &other);  // one change, however the graphic draws itself
  EXPECT_EQ(changes, 2);
}

TEST(Canvas, WithoutAHandleDrawingIsRefused) {
  TCanvas canvas;
  try {
    canvas.FillRect(Rect(0, 0, 1, 1));
    ADD_FAILURE();
  } catch (const EInvalidOperation& e) {
    EXPECT_EQ(e.Message(), "Canvas does not allow drawing");
  }
}

TEST(Canvas, BorrowedDCIsLeftAsFound) {
  TestCanvas target(20, 10);
  HGDIOBJ stockFont = GetCurrentObject(target.DC(), OBJ_FONT);
  {
    TCanvas canvas;
    canvas.SetHandle(target.DC());
    canvas.Brush()->SetColor(clRed);
    canvas.FillRect(Rect(0, 0, 5, 5));
    canvas.TextOut(6, 0, "x");
    EXPECT_EQ(target.Color(2, 2), RGB(255, 0, 0));
    EXPECT_NE(GetCurrentObject(target.DC(), OBJ_FONT), stockFont);
    canvas.SetHandle(nullptr);
    EXPECT_NE(GetCurrentObject(target.DC(), OBJ_FONT), canvas.Font()->Handle());
  }
  // The canvas and its tools are gone; the DC still works.
  RECT r{0, 0, 2, 2};
  EXPECT_NE(FillRect(target.DC(), &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH))), 0);
}

TEST(Canvas, CopyRectStretchesBetweenCanvases) {
  TBitmap src(2, 2), dst(4, 4);
  src.Canvas()->SetPixels(0, 0, clRed);
  src.Canvas()->SetPixels(1, 1, clBlue);
  dst.Canvas()->CopyRect(Rect(0, 0, 4, 4), src.Canvas(), Rect(0, 0, 2, 2));
  EXPECT_EQ(dst.Canvas()->Pixels(1, 1), clRed);
  EXPECT_EQ(dst.Canvas()->Pixels(3, 3), clBlue);
  EXPECT_EQ(dst.Canvas()->Pixels(3, 0), clWhite);
}

}  // namespace
