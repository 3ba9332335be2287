// TGraphic: the abstract picture that a canvas draws and a stream stores.
#pragma once

#include "Canvas.h"
#include "Streams.h"

QV_DECLARE_EXCEPTION(EInvalidGraphic, Exception);
QV_DECLARE_EXCEPTION(EInvalidGraphicOperation, Exception);
QV_DECLARE_EXCEPTION(EOutOfResources, EOutOfMemory);

class TGraphic : public TPersistent {
  QV_CLASS(TGraphic, TPersistent)

  virtual bool Empty() const = 0;
  virtual int Width() const = 0;
  virtual int Height() const = 0;
  virtual void SetWidth(int Value) = 0;
  virtual void SetHeight(int Value) = 0;
  virtual void SetSize(int AWidth, int AHeight);

  virtual bool Transparent() const { return FTransparent; }
  virtual void SetTransparent(bool Value);
  // Whether the picture has per-pixel alpha that drawing honours.
  virtual bool SupportsPartialTransparency() const { return false; }
  bool Modified() const { return FModified; }
  void SetModified(bool Value) { FModified = Value; }

  // Raise EInvalidGraphic with a message that names the problem.
  virtual void LoadFromStream(TStream* Stream) = 0;
  virtual void SaveToStream(TStream* Stream) = 0;
  void LoadFromFile(const String& FileName);
  void SaveToFile(const String& FileName);

  // Draws the whole picture into Rect (stretched when the sizes differ).
  virtual void Draw(TCanvas* ACanvas, const TRect& Rect) = 0;
  // The same with a constant opacity; the base draws through a 32-bit copy.
  virtual void DrawTransparent(TCanvas* ACanvas, const TRect& Rect, uint8_t Opacity);

  // A new, empty graphic of the same class (TPicture keeps copies of what it is given).
  virtual TGraphic* NewOfSameClass() const = 0;

  TNotifyEvent OnChange;

 protected:
  // Marks the picture modified and tells OnChange.
  virtual void Changed(TObject* Sender);

  bool FTransparent = false;
  bool FModified = false;
};
