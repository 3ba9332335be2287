// PNG pictures in an image collection: any bytes either load into an item's picture or
// raise and leave it empty; whatever loads draws in every draw style, as a picture and
// as a nine-part bitmap, without reading or writing outside any pixels.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "qvImageCollection/ImageCollection.h"
#include "vcl/Graphics.h"
#include "vcl/Streams.h"

namespace {

void DrawEveryStyle(TqvImageCollection& collection, TCanvas* canvas) {
  TqvImageCollectionItem* item = collection.Images()->Items(0);
  for (int style = idsTile; style <= idsBottomCenter; ++style) {
    item->SetDrawStyle(TqvImageDrawStyle(style));
    collection.Draw(canvas, Rect(3, 2, 29, 22), 0, 1.0);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TqvImageCollection collection(nullptr);
  TqvImageCollectionItem* item = collection.Images()->Add();
  TBytesStream stream(TBytes(data, data + size));
  try {
    item->Picture()->LoadFromStream(&stream);
  } catch (const EInvalidGraphic&) {
    // Bad data leaves the picture as it was: empty.
    if (item->Picture()->Graphic() || collection.IsIndexAvailable(0)) __builtin_trap();
    return 0;
  }
  TGraphic* graphic = item->Picture()->Graphic();
  if (!graphic) __builtin_trap();
  if (graphic->Empty() != !collection.IsIndexAvailable(0)) __builtin_trap();

  TBitmap target;
  target.SetPixelFormat(pf32bit);
  target.SetSize(32, 24);
  item->SetTileOffsetX(int(size % 7) - 3);
  item->SetTileOffsetY(int(size % 5) - 2);
  DrawEveryStyle(collection, target.Canvas());

  // The same picture as the item's bitmap, premultiplied, with margins that reach from
  // inside it to past it.
  TBitmap bitmap;
  bitmap.Assign(graphic);
  if (bitmap.PixelFormat() == pf32bit) bitmap.SetAlphaFormat(afPremultiplied);
  item->SetBitmap(&bitmap);
  TqvBitmapOptions* options = item->BitmapOptions();
  const int w = bitmap.Width(), h = bitmap.Height();
  options->SetLeftMargin(w / 3);
  options->SetTopMargin(h / 2 + 1);
  options->SetRightMargin(w);
  options->SetBottomMargin(h / 3);
  options->SetStretch(size % 2 == 0);
  DrawEveryStyle(collection, target.Canvas());
  collection.DrawBitmap(target.Canvas(), Rect(0, 0, 5, 4), 0, 128);
  item->SetColor(clRed);
  return 0;
}
