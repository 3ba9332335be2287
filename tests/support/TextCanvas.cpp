#include "support/TextCanvas.h"

void PrepareTextBitmap(TBitmap& B, int Width, int Height) {
  B.SetPixelFormat(pf32bit);
  B.SetSize(Width, Height);
  B.Canvas()->Brush()->SetStyle(bsSolid);
  B.Canvas()->Brush()->SetColor(clWhite);
  B.Canvas()->FillRect(Rect(0, 0, Width, Height));
  B.Canvas()->Font()->SetName("Tahoma");
  B.Canvas()->Font()->SetHeight(-13);
  B.Canvas()->Font()->SetColor(clBlack);
  B.Canvas()->Brush()->SetStyle(bsClear);
}
