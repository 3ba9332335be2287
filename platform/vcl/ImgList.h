// ImgList: image lists. The drawing layer keeps a row of same-sized images behind an
// HIMAGELIST handle (the flat ImageList_* calls); TCustomImageList / TImageList is the
// component that owns one and tells the controls showing its images about changes.
//
// Images are kept as 32-bit pixels with straight (not premultiplied) alpha:
// - a list made with ILC_COLOR32 keeps the alpha of 32-bit pictures that carry some
//   (alpha bytes not all 0 and not all 255); other pictures are opaque, cut out by the
//   mask (ILC_MASK) where the mask bitmap is white or the pixel has the key colour;
// - a list of any other depth keeps opaque colours cut out by the mask.
// Drawing premultiplies and composites source-over through AlphaBlend, so a list image
// drawn into a transparent 32-bit bitmap leaves correct premultiplied alpha.
#pragma once

#include "Component.h"
#include "Graphics.h"

struct ImageListData;
using HIMAGELIST = ImageListData*;

// ImageList_Create flags: colour depth (ILC_COLOR* values) and ILC_MASK.
constexpr UINT ILC_MASK = 0x0001;
constexpr UINT ILC_COLOR = 0x0000;
constexpr UINT ILC_COLORDDB = 0x00FE;
constexpr UINT ILC_COLOR4 = 0x0004;
constexpr UINT ILC_COLOR8 = 0x0008;
constexpr UINT ILC_COLOR16 = 0x0010;
constexpr UINT ILC_COLOR24 = 0x0018;
constexpr UINT ILC_COLOR32 = 0x0020;

// Drawing styles. ILD_BLEND25 / ILD_BLEND50 mix the colours a quarter / half towards the
// foreground colour (CLR_DEFAULT: the highlight colour; CLR_NONE: the image is drawn a
// quarter / half transparent instead). ILD_MASK draws the mask (black where the image
// shows, white elsewhere), ILD_IMAGE the colours without the mask, both opaque.
constexpr UINT ILD_NORMAL = 0x0000;
constexpr UINT ILD_TRANSPARENT = 0x0001;
constexpr UINT ILD_BLEND25 = 0x0002;
constexpr UINT ILD_FOCUS = ILD_BLEND25;
constexpr UINT ILD_BLEND50 = 0x0004;
constexpr UINT ILD_SELECTED = ILD_BLEND50;
constexpr UINT ILD_BLEND = ILD_BLEND50;
constexpr UINT ILD_MASK = 0x0010;
constexpr UINT ILD_IMAGE = 0x0020;

// Drawing states of ImageList_DrawIndirect: ILS_SATURATE draws in grey (alpha kept),
// ILS_ALPHA with the constant opacity Frame (0 .. 255).
constexpr DWORD ILS_NORMAL = 0x0000;
constexpr DWORD ILS_SATURATE = 0x0004;
constexpr DWORD ILS_ALPHA = 0x0008;

// ImageList_Copy.
constexpr UINT ILCF_MOVE = 0x0000;
constexpr UINT ILCF_SWAP = 0x0001;

// Colour arguments: no colour, and the list's own (background) or the highlight
// (foreground) colour.
constexpr COLORREF CLR_NONE = 0xFFFFFFFF;
constexpr COLORREF CLR_DEFAULT = 0xFF000000;

struct IMAGELISTDRAWPARAMS {
  DWORD cbSize = sizeof(IMAGELISTDRAWPARAMS);
  HIMAGELIST himl = nullptr;
  int i = 0;
  HDC hdcDst = nullptr;
  int x = 0;
  int y = 0;
  // The part drawn: cx x cy pixels (0: the image size) from (xBitmap, yBitmap) of the image.
  int cx = 0;
  int cy = 0;
  int xBitmap = 0;
  int yBitmap = 0;
  // Background where the image is transparent (CLR_NONE: none; CLR_DEFAULT: the list's
  // background colour); ILD_TRANSPARENT draws none whatever it says.
  COLORREF rgbBk = CLR_DEFAULT;
  COLORREF rgbFg = CLR_DEFAULT;
  UINT fStyle = ILD_NORMAL;
  DWORD dwRop = 0;
  DWORD fState = ILS_NORMAL;
  DWORD Frame = 0;
  COLORREF crEffect = 0;
};

// Null for sizes below 1 or above 4096 pixels.
HIMAGELIST ImageList_Create(int cx, int cy, UINT flags, int cInitial, int cGrow);
BOOL ImageList_Destroy(HIMAGELIST himl);
// A new list holding copies of the images.
HIMAGELIST ImageList_Duplicate(HIMAGELIST himl);
int ImageList_GetImageCount(HIMAGELIST himl);
BOOL ImageList_GetIconSize(HIMAGELIST himl, int* cx, int* cy);
// Removes every image.
BOOL ImageList_SetIconSize(HIMAGELIST himl, int cx, int cy);
COLORREF ImageList_SetBkColor(HIMAGELIST himl, COLORREF clrBk);
COLORREF ImageList_GetBkColor(HIMAGELIST himl);

// Adds one image per cx pixels of the bitmap's width (rows past its height are
// transparent); the index of the first, or -1. The mask, when given, is white where the
// image is transparent.
int ImageList_Add(HIMAGELIST himl, HBITMAP hbmImage, HBITMAP hbmMask);
// The same with the pixels of the key colour transparent (CLR_DEFAULT: the top-left
// pixel's); a masked list also blackens them, as the mask would.
int ImageList_AddMasked(HIMAGELIST himl, HBITMAP hbmImage, COLORREF crMask);
BOOL ImageList_Replace(HIMAGELIST himl, int i, HBITMAP hbmImage, HBITMAP hbmMask);
// i = -1 removes every image.
BOOL ImageList_Remove(HIMAGELIST himl, int i);
// Within one list: ILCF_MOVE copies image iSrc over iDst, ILCF_SWAP exchanges them.
BOOL ImageList_Copy(HIMAGELIST himlDst, int iDst, HIMAGELIST himlSrc, int iSrc, UINT uFlags);

// FALSE for a bad list, index or DC; a part outside the image draws nothing.
BOOL ImageList_DrawIndirect(const IMAGELISTDRAWPARAMS* pimldp);
// dx, dy = 0 draw the whole width / height.
BOOL ImageList_DrawEx(HIMAGELIST himl, int i, HDC hdcDst, int x, int y, int dx, int dy, COLORREF rgbBk,
                      COLORREF rgbFg, UINT fStyle);
BOOL ImageList_Draw(HIMAGELIST himl, int i, HDC hdcDst, int x, int y, UINT fStyle);

enum TColorDepth { cdDeviceDependent, cd4Bit, cd8Bit, cd16Bit, cd24Bit, cd32Bit };
enum TDrawingStyle { dsFocus, dsSelected, dsNormal, dsTransparent };
enum TImageType { itImage, itMask };

class TCustomImageList;

// How a control hears that an image list changed: it registers a link with the list
// (RegisterChanges) and gets OnChange with the list as sender.
class TChangeLink : public TObject {
  QV_CLASS(TChangeLink, TObject)

  TChangeLink() = default;
  // Unregisters from its list.
  ~TChangeLink() override;

  TCustomImageList* Sender() const { return FSender; }
  void SetSender(TCustomImageList* Value) { FSender = Value; }
  virtual void Change();

  TNotifyEvent OnChange;

 private:
  TCustomImageList* FSender = nullptr;
};

class TCustomImageList : public TComponent {
  QV_CLASS(TCustomImageList, TComponent)

  // 16 x 16, 32-bit colour, masked.
  explicit TCustomImageList(TComponent* AOwner);
  TCustomImageList(TComponent* AOwner, int AWidth, int AHeight);
  // Leaves its change links without a sender; frees the handle unless ShareImages.
  ~TCustomImageList() override;

  // From another image list: its settings and copies of its images.
  void Assign(TPersistent* Source) override;

  // The pictures must be at least Width x Height; a wider one adds an image per Width
  // pixels. Raises EInvalidOperation "Invalid image size" for a null or smaller picture.
  // A 32-bit premultiplied picture is taken by its straight colours. Answer the index
  // of the (first) new image, -1 when the list refused it.
  int Add(TBitmap* Image, TBitmap* Mask);
  // MaskColor clDefault: the picture's transparent colour.
  int AddMasked(TBitmap* Image, TColor MaskColor);
  // A copy of image Index of another list (cut or padded to this size); -1 for an index
  // that list does not have.
  int AddImage(TCustomImageList* Value, int Index);
  void AddImages(TCustomImageList* Value);
  // Raise EInvalidOperation "Invalid ImageList Index" for an index outside 0 .. Count.
  void Insert(int Index, TBitmap* Image, TBitmap* Mask);
  void InsertMasked(int Index, TBitmap* Image, TColor MaskColor);
  // Raise EInvalidOperation "Unable to replace image" for an index outside the list.
  void Replace(int Index, TBitmap* Image, TBitmap* Mask);
  void ReplaceMasked(int Index, TBitmap* NewImage, TColor MaskColor);
  // Raises EInvalidOperation "Invalid ImageList Index" for an index outside the list.
  void Delete(int Index);
  void Clear();
  void Move(int CurIndex, int NewIndex);
  int Count() const;

  // Image Index at (X, Y) in DrawingStyle and ImageType. Disabled: a 32-bit list draws
  // the image in grey; any other draws its shape embossed in clBtnHighlight one pixel
  // down-right under clBtnShadow. An index outside the list draws nothing.
  void Draw(TCanvas* Canvas, int X, int Y, int Index, bool Enabled = true);
  void Draw(TCanvas* Canvas, int X, int Y, int Index, TDrawingStyle ADrawingStyle, TImageType AImageType,
            bool Enabled = true);
  // Image makes Width x Height. A pf32bit picture is cleared to transparent, made
  // afPremultiplied and receives the image with its alpha; another is drawn over. False
  // (Image untouched) for a null picture or an index outside the list.
  bool GetBitmap(int Index, TBitmap* Image);

  // The list's handle, made when first asked for.
  HIMAGELIST Handle();
  // Adopts a handle (its size becomes Width x Height); the old one is freed unless
  // ShareImages.
  void SetHandle(HIMAGELIST Value);
  bool HandleAllocated() const { return FHandle != nullptr; }
  // The handle belongs to someone else (a system list): the component never frees it.
  bool ShareImages() const { return FShareImages; }
  void SetShareImages(bool Value) { FShareImages = Value; }

  // Changing the size, the colour depth or Masked empties the list.
  int Width() const { return FWidth; }
  void SetWidth(int Value);
  int Height() const { return FHeight; }
  void SetHeight(int Value);
  TColorDepth ColorDepth() const { return FColorDepth; }
  void SetColorDepth(TColorDepth Value);
  bool Masked() const { return FMasked; }
  void SetMasked(bool Value);
  // Drawn where images are transparent (clNone: nothing).
  TColor BkColor() const { return FBkColor; }
  void SetBkColor(TColor Value);
  // The colour of dsFocus and dsSelected (clNone: they fade the image instead).
  TColor BlendColor() const { return FBlendColor; }
  void SetBlendColor(TColor Value);
  TDrawingStyle DrawingStyle() const { return FDrawingStyle; }
  void SetDrawingStyle(TDrawingStyle Value);
  TImageType ImageType() const { return FImageType; }
  void SetImageType(TImageType Value);
  int AllocBy() const { return FAllocBy; }
  void SetAllocBy(int Value) { FAllocBy = Value; }

  // Changes inside are told once, at the last EndUpdate.
  void BeginUpdate() { ++FUpdateCount; }
  void EndUpdate();
  void RegisterChanges(TChangeLink* Value);
  void UnRegisterChanges(TChangeLink* Value);

  TNotifyEvent OnChange;

 protected:
  // Tells every change link, then OnChange.
  virtual void Change();
  virtual void DoDraw(int Index, TCanvas* Canvas, int X, int Y, UINT Style, bool Enabled);

 private:
  void HandleNeeded();
  // Frees the handle (unless shared); the next use makes an empty one.
  void FreeHandle();
  // Layout changed: the images no longer fit, so the list starts empty.
  void LayoutChanged();
  UINT CreateFlags() const;
  // Image, or a straight-alpha copy of a premultiplied one kept in Scratch.
  HBITMAP ImageHandle(TBitmap* Image, TBitmap& Scratch) const;
  void DrawEmbossed(int Index, TCanvas* Canvas, int X, int Y);

  HIMAGELIST FHandle = nullptr;
  // Made by this list (freed whatever ShareImages says) rather than adopted.
  bool FOwnsHandle = false;
  bool FShareImages = false;
  int FWidth = 16;
  int FHeight = 16;
  TColorDepth FColorDepth = cd32Bit;
  bool FMasked = true;
  TColor FBkColor = clNone;
  TColor FBlendColor = clNone;
  TDrawingStyle FDrawingStyle = dsNormal;
  TImageType FImageType = itImage;
  int FAllocBy = 4;
  int FUpdateCount = 0;
  bool FChanged = false;
  std::vector<TChangeLink*> FClients;
};

class TImageList : public TCustomImageList {
  QV_CLASS(TImageList, TCustomImageList)

  using TCustomImageList::TCustomImageList;
};
