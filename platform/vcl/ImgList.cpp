#include "ImgList.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <unordered_set>
#include <utility>

#include "gdi/Gdi.h"

struct ImageListData {
  int Cx = 0;
  int Cy = 0;
  UINT Flags = 0;
  COLORREF BkColor = CLR_NONE;
  // Cx * Cy pixels each, 0xAARRGGBB with straight alpha.
  std::vector<std::vector<uint32_t>> Images;

  bool Color32() const { return (Flags & 0xFE) == ILC_COLOR32; }
  bool Masked() const { return (Flags & ILC_MASK) != 0; }
  int Count() const { return int(Images.size()); }
  bool HasIndex(int i) const { return i >= 0 && i < Count(); }
};

namespace {

constexpr int kMaxImageSize = 4096;
constexpr uint32_t kAlpha = 0xFF000000u;
constexpr uint32_t kColor = 0x00FFFFFFu;
constexpr uint32_t kOpaqueWhite = 0xFFFFFFFFu;

// Like GDI handles: a stale or foreign handle is refused, never followed. The set lives
// as long as the program, so lists freed by static objects at exit still find it.
std::unordered_set<const ImageListData*>& LiveLists() {
  static auto* lists = new std::unordered_set<const ImageListData*>;
  return *lists;
}

ImageListData* Live(HIMAGELIST himl) { return himl && LiveLists().count(himl) ? himl : nullptr; }

HIMAGELIST Register(std::unique_ptr<ImageListData> data) {
  HIMAGELIST h = data.release();
  LiveLists().insert(h);
  return h;
}

const Surface* PixelsOf(HBITMAP b) {
  const GdiBitmap* bitmap = LiveObject<GdiBitmap>(b, OBJ_BITMAP);
  return bitmap && bitmap->Pixels ? bitmap->Pixels.get() : nullptr;
}

// A 32-bit picture carries alpha when its alpha bytes say something: neither all 0 (a
// picture nobody gave alpha) nor all 255 (an opaque one, which the mask cuts out).
bool CarriesAlpha(HBITMAP b, const Surface& s, int width, int height) {
  if (b->BitsPixel != 32 || !s.HasAlpha()) return false;
  bool notZero = false, notOpaque = false;
  for (int y = 0; y < height; ++y) {
    const uint32_t* row = s.Row(y);
    for (int x = 0; x < width; ++x) {
      const uint32_t a = row[x] >> 24;
      notZero |= a != 0;
      notOpaque |= a != 255;
    }
    if (notZero && notOpaque) return true;
  }
  return false;
}

// What a picture brings to a list: its pixels and what cuts them out.
struct ImageSource {
  const Surface* Image = nullptr;
  const Surface* Mask = nullptr;  // white where transparent
  bool UseKey = false;
  uint32_t Key = 0;  // colour bytes of the key
  bool Alpha = false;
};

ImageSource SourceOf(const ImageListData& l, HBITMAP image, HBITMAP mask) {
  ImageSource s;
  s.Image = PixelsOf(image);
  if (!s.Image) return s;
  s.Mask = PixelsOf(mask);
  s.Alpha = l.Color32() && CarriesAlpha(image, *s.Image, s.Image->Width(), std::min(l.Cy, s.Image->Height()));
  return s;
}

bool KeyOf(const Surface& image, COLORREF crMask, uint32_t& key) {
  if (crMask == CLR_DEFAULT) {
    key = image.At(0, 0) & kColor;
    return true;
  }
  if (crMask == CLR_NONE) return false;
  key = PixelFromColorRef(crMask & 0xFFFFFF) & kColor;
  return true;
}

// The image that starts at column x0 of the source.
std::vector<uint32_t> TakeImage(const ImageListData& l, const ImageSource& s, int x0) {
  const bool cutOut = s.Alpha || l.Masked();
  std::vector<uint32_t> out(size_t(l.Cx) * size_t(l.Cy), cutOut ? 0u : kAlpha);
  const int h = std::min(l.Cy, s.Image->Height());
  for (int y = 0; y < h; ++y) {
    const uint32_t* row = s.Image->Row(y) + x0;
    const uint32_t* maskRow = s.Mask && y < s.Mask->Height() ? s.Mask->Row(y) : nullptr;
    uint32_t* dst = out.data() + size_t(y) * size_t(l.Cx);
    for (int x = 0; x < l.Cx; ++x) {
      uint32_t p = row[x];
      if (!s.Alpha) {
        p |= kAlpha;
        if (l.Masked()) {
          if (maskRow && x0 + x < s.Mask->Width() && (maskRow[x0 + x] & kColor) == kColor)
            p &= kColor;  // the colour stays for ILD_IMAGE
          else if (s.UseKey && (p & kColor) == s.Key)
            p = 0;
        }
      }
      dst[x] = p;
    }
  }
  return out;
}

// Converts an image of another list to this one's size and depth.
std::vector<uint32_t> ConvertImage(const ImageListData& from, int index, const ImageListData& to) {
  const std::vector<uint32_t>& src = from.Images[size_t(index)];
  const bool cutOut = to.Color32() || to.Masked();
  std::vector<uint32_t> out(size_t(to.Cx) * size_t(to.Cy), cutOut ? 0u : kAlpha);
  const int w = std::min(from.Cx, to.Cx), h = std::min(from.Cy, to.Cy);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      uint32_t p = src[size_t(y) * size_t(from.Cx) + size_t(x)];
      if (!to.Color32()) {
        const bool shows = !to.Masked() || (p >> 24) >= 128;
        p = shows ? (p | kAlpha) : 0u;
      }
      out[size_t(y) * size_t(to.Cx) + size_t(x)] = p;
    }
  return out;
}

int AddImages(ImageListData& l, const ImageSource& s) {
  if (!s.Image) return -1;
  const int n = s.Image->Width() / l.Cx;
  if (n <= 0) return -1;
  const int first = l.Count();
  for (int k = 0; k < n; ++k) l.Images.push_back(TakeImage(l, s, k * l.Cx));
  return first;
}

BOOL ReplaceImage(ImageListData& l, int i, const ImageSource& s) {
  if (!l.HasIndex(i) || !s.Image || s.Image->Width() < 1) return FALSE;
  l.Images[size_t(i)] = TakeImage(l, s, 0);
  return TRUE;
}

// A top-down 32-bit bitmap selected into a memory DC for the length of a drawing call.
class Layer {
 public:
  Layer(int width, int height) {
    BITMAPINFO bi{};
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;
    FBitmap = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, nullptr, nullptr, 0);
    if (!FBitmap) return;
    FDC = CreateCompatibleDC(nullptr);
    if (FDC) FOld = SelectObject(FDC, FBitmap);
  }
  ~Layer() {
    if (FDC) {
      SelectObject(FDC, FOld);
      DeleteDC(FDC);
    }
    if (FBitmap) DeleteObject(FBitmap);
  }
  Layer(const Layer&) = delete;
  Layer& operator=(const Layer&) = delete;

  bool Valid() const { return FDC != nullptr; }
  HDC DC() const { return FDC; }
  Surface& Pixels() const { return *FBitmap->Pixels; }
  int Width() const { return Pixels().Width(); }
  int Height() const { return Pixels().Height(); }

  // Composites the layer (premultiplied) onto dc at (x, y).
  void BlendOnto(HDC dc, int x, int y, BYTE opacity = 255) const {
    BLENDFUNCTION blend;
    blend.SourceConstantAlpha = opacity;
    blend.AlphaFormat = AC_SRC_ALPHA;
    AlphaBlend(dc, x, y, Width(), Height(), FDC, 0, 0, Width(), Height(), blend);
  }

 private:
  HBITMAP FBitmap = nullptr;
  HDC FDC = nullptr;
  HGDIOBJ FOld = nullptr;
};

uint32_t Channel(uint32_t p, int shift) { return (p >> shift) & 0xFF; }

// One list pixel as it is drawn: straight in, premultiplied out.
struct PixelRecipe {
  bool Mask = false;
  bool Image = false;
  bool Saturate = false;
  int BlendQuarters = 0;  // 1 or 2: a quarter or a half towards the foreground
  bool BlendFade = false;  // no foreground colour: fade instead
  uint32_t Foreground = 0;
  bool Background = false;
  uint32_t BackgroundPixel = 0;

  uint32_t operator()(uint32_t s) const {
    if (Mask) return (s >> 24) ? kAlpha : kOpaqueWhite;
    uint32_t a = Image ? 255 : s >> 24;
    uint32_t r = Channel(s, 16), g = Channel(s, 8), b = Channel(s, 0);
    if (Saturate) r = g = b = (r * 299 + g * 587 + b * 114 + 500) / 1000;
    if (BlendQuarters) {
      const uint32_t k = uint32_t(BlendQuarters);
      if (BlendFade) {
        a = (a * (4 - k) + 2) / 4;
      } else {
        r = (r * (4 - k) + Channel(Foreground, 16) * k + 2) / 4;
        g = (g * (4 - k) + Channel(Foreground, 8) * k + 2) / 4;
        b = (b * (4 - k) + Channel(Foreground, 0) * k + 2) / 4;
      }
    }
    auto mul = [](uint32_t c, uint32_t f) { return (c * f + 127) / 255; };
    r = mul(r, a);
    g = mul(g, a);
    b = mul(b, a);
    if (Background && a < 255) {
      const uint32_t rest = 255 - a;
      r += mul(Channel(BackgroundPixel, 16), rest);
      g += mul(Channel(BackgroundPixel, 8), rest);
      b += mul(Channel(BackgroundPixel, 0), rest);
      a = 255;
    }
    return (a << 24) | (r << 16) | (g << 8) | b;
  }
};

}  // namespace

// ---- the flat calls ----

HIMAGELIST ImageList_Create(int cx, int cy, UINT flags, int, int) {
  if (cx < 1 || cy < 1 || cx > kMaxImageSize || cy > kMaxImageSize) return nullptr;
  auto data = std::make_unique<ImageListData>();
  data->Cx = cx;
  data->Cy = cy;
  data->Flags = flags;
  return Register(std::move(data));
}

BOOL ImageList_Destroy(HIMAGELIST himl) {
  if (!Live(himl)) return FALSE;
  LiveLists().erase(himl);
  delete himl;
  return TRUE;
}

HIMAGELIST ImageList_Duplicate(HIMAGELIST himl) {
  ImageListData* l = Live(himl);
  if (!l) return nullptr;
  return Register(std::make_unique<ImageListData>(*l));
}

int ImageList_GetImageCount(HIMAGELIST himl) {
  ImageListData* l = Live(himl);
  return l ? l->Count() : 0;
}

BOOL ImageList_GetIconSize(HIMAGELIST himl, int* cx, int* cy) {
  ImageListData* l = Live(himl);
  if (!l || !cx || !cy) return FALSE;
  *cx = l->Cx;
  *cy = l->Cy;
  return TRUE;
}

BOOL ImageList_SetIconSize(HIMAGELIST himl, int cx, int cy) {
  ImageListData* l = Live(himl);
  if (!l || cx < 1 || cy < 1 || cx > kMaxImageSize || cy > kMaxImageSize) return FALSE;
  l->Cx = cx;
  l->Cy = cy;
  l->Images.clear();
  return TRUE;
}

COLORREF ImageList_SetBkColor(HIMAGELIST himl, COLORREF clrBk) {
  ImageListData* l = Live(himl);
  if (!l) return CLR_NONE;
  return std::exchange(l->BkColor, clrBk == CLR_NONE ? CLR_NONE : (clrBk & 0xFFFFFF));
}

COLORREF ImageList_GetBkColor(HIMAGELIST himl) {
  ImageListData* l = Live(himl);
  return l ? l->BkColor : CLR_NONE;
}

int ImageList_Add(HIMAGELIST himl, HBITMAP hbmImage, HBITMAP hbmMask) {
  ImageListData* l = Live(himl);
  if (!l) return -1;
  return AddImages(*l, SourceOf(*l, hbmImage, hbmMask));
}

int ImageList_AddMasked(HIMAGELIST himl, HBITMAP hbmImage, COLORREF crMask) {
  ImageListData* l = Live(himl);
  if (!l) return -1;
  ImageSource s = SourceOf(*l, hbmImage, nullptr);
  if (s.Image) s.UseKey = KeyOf(*s.Image, crMask, s.Key);
  return AddImages(*l, s);
}

BOOL ImageList_Replace(HIMAGELIST himl, int i, HBITMAP hbmImage, HBITMAP hbmMask) {
  ImageListData* l = Live(himl);
  if (!l) return FALSE;
  return ReplaceImage(*l, i, SourceOf(*l, hbmImage, hbmMask));
}

BOOL ImageList_Remove(HIMAGELIST himl, int i) {
  ImageListData* l = Live(himl);
  if (!l) return FALSE;
  if (i == -1) {
    l->Images.clear();
    return TRUE;
  }
  if (!l->HasIndex(i)) return FALSE;
  l->Images.erase(l->Images.begin() + i);
  return TRUE;
}

BOOL ImageList_Copy(HIMAGELIST himlDst, int iDst, HIMAGELIST himlSrc, int iSrc, UINT uFlags) {
  ImageListData* l = Live(himlDst);
  if (!l || himlSrc != himlDst || !l->HasIndex(iDst) || !l->HasIndex(iSrc)) return FALSE;
  if (uFlags & ILCF_SWAP)
    std::swap(l->Images[size_t(iDst)], l->Images[size_t(iSrc)]);
  else
    l->Images[size_t(iDst)] = l->Images[size_t(iSrc)];
  return TRUE;
}

BOOL ImageList_DrawIndirect(const IMAGELISTDRAWPARAMS* p) {
  if (!p) return FALSE;
  ImageListData* l = Live(p->himl);
  if (!l || !l->HasIndex(p->i) || !LiveDC(p->hdcDst)) return FALSE;
  if (p->xBitmap < 0 || p->yBitmap < 0 || p->xBitmap >= l->Cx || p->yBitmap >= l->Cy) return TRUE;
  const int w = std::min(p->cx > 0 ? p->cx : l->Cx, l->Cx - p->xBitmap);
  const int h = std::min(p->cy > 0 ? p->cy : l->Cy, l->Cy - p->yBitmap);

  PixelRecipe recipe;
  recipe.Mask = (p->fStyle & ILD_MASK) != 0;
  recipe.Image = (p->fStyle & ILD_IMAGE) != 0;
  recipe.Saturate = (p->fState & ILS_SATURATE) != 0;
  if (!recipe.Mask && !recipe.Image) {
    recipe.BlendQuarters = (p->fStyle & ILD_BLEND50) ? 2 : (p->fStyle & ILD_BLEND25) ? 1 : 0;
    const COLORREF fg = p->rgbFg == CLR_DEFAULT ? GetSysColor(COLOR_HIGHLIGHT) : p->rgbFg;
    recipe.BlendFade = fg == CLR_NONE;
    recipe.Foreground = PixelFromColorRef(fg & 0xFFFFFF);
    const COLORREF bk = (p->fStyle & ILD_TRANSPARENT) ? CLR_NONE : p->rgbBk == CLR_DEFAULT ? l->BkColor : p->rgbBk;
    recipe.Background = bk != CLR_NONE;
    recipe.BackgroundPixel = PixelFromColorRef(bk & 0xFFFFFF);
  }

  Layer layer(w, h);
  if (!layer.Valid()) return FALSE;
  const std::vector<uint32_t>& image = l->Images[size_t(p->i)];
  for (int y = 0; y < h; ++y) {
    const uint32_t* src = image.data() + size_t(p->yBitmap + y) * size_t(l->Cx) + size_t(p->xBitmap);
    uint32_t* dst = layer.Pixels().Row(y);
    for (int x = 0; x < w; ++x) dst[x] = recipe(src[x]);
  }
  const BYTE opacity = (p->fState & ILS_ALPHA) ? BYTE(std::min<DWORD>(p->Frame, 255)) : BYTE(255);
  layer.BlendOnto(p->hdcDst, p->x, p->y, opacity);
  return TRUE;
}

BOOL ImageList_DrawEx(HIMAGELIST himl, int i, HDC hdcDst, int x, int y, int dx, int dy, COLORREF rgbBk,
                      COLORREF rgbFg, UINT fStyle) {
  IMAGELISTDRAWPARAMS p;
  p.himl = himl;
  p.i = i;
  p.hdcDst = hdcDst;
  p.x = x;
  p.y = y;
  p.cx = dx;
  p.cy = dy;
  p.rgbBk = rgbBk;
  p.rgbFg = rgbFg;
  p.fStyle = fStyle;
  return ImageList_DrawIndirect(&p);
}

BOOL ImageList_Draw(HIMAGELIST himl, int i, HDC hdcDst, int x, int y, UINT fStyle) {
  return ImageList_DrawEx(himl, i, hdcDst, x, y, 0, 0, CLR_DEFAULT, CLR_DEFAULT, fStyle);
}

// ---- TChangeLink ----

TChangeLink::~TChangeLink() {
  if (FSender) FSender->UnRegisterChanges(this);
}

void TChangeLink::Change() {
  if (OnChange) OnChange(FSender);
}

// ---- TCustomImageList ----

namespace {

COLORREF RGBColor(TColor c) {
  if (c == clNone) return CLR_NONE;
  if (c == clDefault) return CLR_DEFAULT;
  return COLORREF(ColorToRGB(c)) & 0xFFFFFF;
}

void CheckImage(TBitmap* Image, int Width, int Height) {
  if (!Image || Image->Empty() || Image->Width() < Width || Image->Height() < Height)
    throw EInvalidOperation("Invalid image size");
}

[[noreturn]] void IndexError() { throw EInvalidOperation("Invalid ImageList Index"); }

}  // namespace

TCustomImageList::TCustomImageList(TComponent* AOwner) : TComponent(AOwner) {}

TCustomImageList::TCustomImageList(TComponent* AOwner, int AWidth, int AHeight) : TComponent(AOwner) {
  FWidth = AWidth;
  FHeight = AHeight;
}

TCustomImageList::~TCustomImageList() {
  for (TChangeLink* link : FClients) link->SetSender(nullptr);
  FClients.clear();
  FreeHandle();
}

UINT TCustomImageList::CreateFlags() const {
  static constexpr UINT kDepth[] = {ILC_COLORDDB, ILC_COLOR4, ILC_COLOR8, ILC_COLOR16, ILC_COLOR24, ILC_COLOR32};
  return kDepth[FColorDepth] | (FMasked ? ILC_MASK : 0);
}

void TCustomImageList::HandleNeeded() {
  if (FHandle) return;
  FHandle = ImageList_Create(FWidth, FHeight, CreateFlags(), FAllocBy, FAllocBy);
  if (!FHandle) throw EInvalidOperation("Invalid image size");
  FOwnsHandle = true;
  ImageList_SetBkColor(FHandle, RGBColor(FBkColor) == CLR_DEFAULT ? CLR_NONE : RGBColor(FBkColor));
}

HIMAGELIST TCustomImageList::Handle() {
  HandleNeeded();
  return FHandle;
}

void TCustomImageList::FreeHandle() {
  if (FHandle && (FOwnsHandle || !FShareImages)) ImageList_Destroy(FHandle);
  FHandle = nullptr;
  FOwnsHandle = false;
}

void TCustomImageList::SetHandle(HIMAGELIST Value) {
  if (Value == FHandle) return;
  FreeHandle();
  FHandle = Value;
  int cx = 0, cy = 0;
  if (ImageList_GetIconSize(Value, &cx, &cy)) {
    FWidth = cx;
    FHeight = cy;
  }
  Change();
}

void TCustomImageList::LayoutChanged() {
  FreeHandle();
  Change();
}

void TCustomImageList::SetWidth(int Value) {
  if (Value == FWidth) return;
  FWidth = Value;
  LayoutChanged();
}

void TCustomImageList::SetHeight(int Value) {
  if (Value == FHeight) return;
  FHeight = Value;
  LayoutChanged();
}

void TCustomImageList::SetColorDepth(TColorDepth Value) {
  if (Value == FColorDepth) return;
  FColorDepth = Value;
  LayoutChanged();
}

void TCustomImageList::SetMasked(bool Value) {
  if (Value == FMasked) return;
  FMasked = Value;
  LayoutChanged();
}

void TCustomImageList::SetBkColor(TColor Value) {
  if (Value == FBkColor) return;
  FBkColor = Value;
  if (FHandle) ImageList_SetBkColor(FHandle, RGBColor(Value) == CLR_DEFAULT ? CLR_NONE : RGBColor(Value));
  Change();
}

void TCustomImageList::SetBlendColor(TColor Value) {
  if (Value == FBlendColor) return;
  FBlendColor = Value;
  Change();
}

void TCustomImageList::SetDrawingStyle(TDrawingStyle Value) {
  if (Value == FDrawingStyle) return;
  FDrawingStyle = Value;
  Change();
}

void TCustomImageList::SetImageType(TImageType Value) {
  if (Value == FImageType) return;
  FImageType = Value;
  Change();
}

int TCustomImageList::Count() const { return FHandle ? ImageList_GetImageCount(FHandle) : 0; }

HBITMAP TCustomImageList::ImageHandle(TBitmap* Image, TBitmap& Scratch) const {
  if (Image->PixelFormat() != pf32bit || Image->AlphaFormat() != afPremultiplied) return Image->Handle();
  Scratch.Assign(Image);
  Scratch.SetAlphaFormat(afDefined);
  return Scratch.Handle();
}

int TCustomImageList::Add(TBitmap* Image, TBitmap* Mask) {
  CheckImage(Image, FWidth, FHeight);
  HandleNeeded();
  TBitmap scratch;
  const int result = ImageList_Add(FHandle, ImageHandle(Image, scratch), Mask ? Mask->Handle() : nullptr);
  Change();
  return result;
}

int TCustomImageList::AddMasked(TBitmap* Image, TColor MaskColor) {
  CheckImage(Image, FWidth, FHeight);
  HandleNeeded();
  const TColor key = MaskColor == clDefault ? Image->TransparentColor() : MaskColor;
  TBitmap scratch;
  const int result = ImageList_AddMasked(FHandle, ImageHandle(Image, scratch), RGBColor(key));
  Change();
  return result;
}

int TCustomImageList::AddImage(TCustomImageList* Value, int Index) {
  ImageListData* from = Value ? Live(Value->FHandle) : nullptr;
  if (!from || !from->HasIndex(Index)) return -1;
  HandleNeeded();
  ImageListData* l = Live(FHandle);
  if (!l) return -1;
  l->Images.push_back(ConvertImage(*from, Index, *l));
  Change();
  return l->Count() - 1;
}

void TCustomImageList::AddImages(TCustomImageList* Value) {
  if (!Value) return;
  BeginUpdate();
  for (int i = 0, n = Value->Count(); i < n; ++i) AddImage(Value, i);
  EndUpdate();
}

void TCustomImageList::Insert(int Index, TBitmap* Image, TBitmap* Mask) {
  if (Index < 0 || Index > Count()) IndexError();
  BeginUpdate();
  const int added = Add(Image, Mask);
  if (added >= 0 && added != Index) Move(added, Index);
  EndUpdate();
}

void TCustomImageList::InsertMasked(int Index, TBitmap* Image, TColor MaskColor) {
  if (Index < 0 || Index > Count()) IndexError();
  BeginUpdate();
  const int added = AddMasked(Image, MaskColor);
  if (added >= 0 && added != Index) Move(added, Index);
  EndUpdate();
}

void TCustomImageList::Replace(int Index, TBitmap* Image, TBitmap* Mask) {
  if (Index < 0 || Index >= Count()) throw EInvalidOperation("Unable to replace image");
  CheckImage(Image, FWidth, FHeight);
  TBitmap scratch;
  ImageList_Replace(FHandle, Index, ImageHandle(Image, scratch), Mask ? Mask->Handle() : nullptr);
  Change();
}

void TCustomImageList::ReplaceMasked(int Index, TBitmap* NewImage, TColor MaskColor) {
  if (Index < 0 || Index >= Count()) throw EInvalidOperation("Unable to replace image");
  CheckImage(NewImage, FWidth, FHeight);
  const TColor key = MaskColor == clDefault ? NewImage->TransparentColor() : MaskColor;
  TBitmap scratch;
  ImageListData* l = Live(FHandle);
  ImageSource s = SourceOf(*l, ImageHandle(NewImage, scratch), nullptr);
  if (s.Image) s.UseKey = KeyOf(*s.Image, RGBColor(key), s.Key);
  ReplaceImage(*l, Index, s);
  Change();
}

void TCustomImageList::Delete(int Index) {
  if (Index < 0 || Index >= Count()) IndexError();
  ImageList_Remove(FHandle, Index);
  Change();
}

void TCustomImageList::Clear() {
  if (FHandle) ImageList_Remove(FHandle, -1);
  Change();
}

void TCustomImageList::Move(int CurIndex, int NewIndex) {
  const int n = Count();
  if (CurIndex < 0 || CurIndex >= n || NewIndex < 0 || NewIndex >= n) IndexError();
  if (CurIndex == NewIndex) return;
  const int step = NewIndex > CurIndex ? 1 : -1;
  for (int i = CurIndex; i != NewIndex; i += step) ImageList_Copy(FHandle, i, FHandle, i + step, ILCF_SWAP);
  Change();
}

void TCustomImageList::Assign(TPersistent* Source) {
  auto* src = dynamic_cast<TCustomImageList*>(Source);
  if (!src) {
    TComponent::Assign(Source);
    return;
  }
  if (src == this) return;
  BeginUpdate();
  FreeHandle();
  FWidth = src->FWidth;
  FHeight = src->FHeight;
  FColorDepth = src->FColorDepth;
  FMasked = src->FMasked;
  FBkColor = src->FBkColor;
  FBlendColor = src->FBlendColor;
  FDrawingStyle = src->FDrawingStyle;
  FImageType = src->FImageType;
  FAllocBy = src->FAllocBy;
  AddImages(src);
  Change();
  EndUpdate();
}

void TCustomImageList::Draw(TCanvas* Canvas, int X, int Y, int Index, bool Enabled) {
  Draw(Canvas, X, Y, Index, FDrawingStyle, FImageType, Enabled);
}

void TCustomImageList::Draw(TCanvas* Canvas, int X, int Y, int Index, TDrawingStyle ADrawingStyle,
                            TImageType AImageType, bool Enabled) {
  static constexpr UINT kStyles[] = {ILD_FOCUS, ILD_SELECTED, ILD_NORMAL, ILD_TRANSPARENT};
  if (!FHandle) return;
  DoDraw(Index, Canvas, X, Y, kStyles[ADrawingStyle] | (AImageType == itMask ? ILD_MASK : 0), Enabled);
}

void TCustomImageList::DoDraw(int Index, TCanvas* Canvas, int X, int Y, UINT Style, bool Enabled) {
  if (!FHandle || !Canvas || Index < 0 || Index >= Count()) return;
  HDC dc = Canvas->Handle();
  if (Enabled) {
    ImageList_DrawEx(FHandle, Index, dc, X, Y, 0, 0, RGBColor(FBkColor), RGBColor(FBlendColor), Style);
  } else if (FColorDepth == cd32Bit) {
    IMAGELISTDRAWPARAMS p;
    p.himl = FHandle;
    p.i = Index;
    p.hdcDst = dc;
    p.x = X;
    p.y = Y;
    p.rgbBk = RGBColor(FBkColor);
    p.rgbFg = RGBColor(FBlendColor);
    p.fStyle = Style;
    p.fState = ILS_SATURATE;
    ImageList_DrawIndirect(&p);
  } else {
    DrawEmbossed(Index, Canvas, X, Y);
  }
}

void TCustomImageList::DrawEmbossed(int Index, TCanvas* Canvas, int X, int Y) {
  // The shape is every pixel the image draws in a colour other than white, as a
  // monochrome copy of it drawn on white would have it.
  Layer shape(FWidth, FHeight);
  Layer out(FWidth + 1, FHeight + 1);
  if (!shape.Valid() || !out.Valid()) return;
  shape.Pixels().Fill(kOpaqueWhite);
  ImageList_DrawEx(FHandle, Index, shape.DC(), 0, 0, 0, 0, CLR_NONE, CLR_NONE, ILD_NORMAL);
  const uint32_t light = PixelFromColorRef(COLORREF(ColorToRGB(clBtnHighlight)) & 0xFFFFFF);
  const uint32_t dark = PixelFromColorRef(COLORREF(ColorToRGB(clBtnShadow)) & 0xFFFFFF);
  for (int pass = 0; pass < 2; ++pass) {
    const int offset = pass == 0 ? 1 : 0;
    for (int y = 0; y < FHeight; ++y) {
      const uint32_t* src = shape.Pixels().Row(y);
      uint32_t* dst = out.Pixels().Row(y + offset) + offset;
      for (int x = 0; x < FWidth; ++x)
        if (src[x] != kOpaqueWhite) dst[x] = pass == 0 ? light : dark;
    }
  }
  out.BlendOnto(Canvas->Handle(), X, Y);
}

bool TCustomImageList::GetBitmap(int Index, TBitmap* Image) {
  if (!Image || !FHandle || Index < 0 || Index >= Count()) return false;
  Image->SetSize(FWidth, FHeight);
  if (Image->PixelFormat() == pf32bit) {
    Image->SetAlphaFormat(afPremultiplied);
    std::memset(Image->ScanLine(0), 0, size_t(FWidth) * size_t(FHeight) * 4);
  }
  DoDraw(Index, Image->Canvas(), 0, 0, ILD_NORMAL, true);
  return true;
}

void TCustomImageList::EndUpdate() {
  if (FUpdateCount > 0) --FUpdateCount;
  if (FUpdateCount == 0 && FChanged) Change();
}

void TCustomImageList::RegisterChanges(TChangeLink* Value) {
  if (!Value) return;
  Value->SetSender(this);
  if (std::find(FClients.begin(), FClients.end(), Value) == FClients.end()) FClients.push_back(Value);
}

void TCustomImageList::UnRegisterChanges(TChangeLink* Value) {
  if (!Value) return;
  if (Value->Sender() == this) Value->SetSender(nullptr);
  FClients.erase(std::remove(FClients.begin(), FClients.end(), Value), FClients.end());
}

void TCustomImageList::Change() {
  FChanged = true;
  if (FUpdateCount > 0) return;
  FChanged = false;
  // A link may unregister itself, or others, from its handler.
  const std::vector<TChangeLink*> links = FClients;
  for (TChangeLink* link : links)
    if (std::find(FClients.begin(), FClients.end(), link) != FClients.end()) link->Change();
  if (OnChange) OnChange(this);
}
