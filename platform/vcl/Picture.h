// TPicture: holds one graphic of any class, picks the class of what it loads, and tells
// OnChange when the graphic changes.
#pragma once

#include "Graphic.h"

class TBitmap;
class TIcon;
class TPngImage;

class TPicture : public TPersistent {
  QV_CLASS(TPicture, TPersistent)

  TPicture() = default;
  ~TPicture() override;

  // The graphic, or null.
  TGraphic* Graphic() const { return FGraphic; }
  // Keeps a copy of Value (null empties the picture).
  void SetGraphic(TGraphic* Value);
  // The graphic as a bitmap; a picture holding anything else is replaced by an empty one.
  TBitmap* Bitmap();
  void SetBitmap(TBitmap* Value);
  TIcon* Icon();
  void SetIcon(TIcon* Value);
  int Width() const;
  int Height() const;

  // From a TPicture or a TGraphic (copies), or null.
  void Assign(TPersistent* Source) override;

  // The class comes from the first bytes: PNG or BMP. Anything else raises
  // EInvalidGraphic "Unsupported image format" and leaves the picture as it was.
  void LoadFromStream(TStream* Stream);
  void SaveToStream(TStream* Stream);
  void LoadFromFile(const String& FileName);
  void SaveToFile(const String& FileName);

  TNotifyEvent OnChange;

 protected:
  void AssignTo(TPersistent* Dest) override;
  virtual void Changed(TObject* Sender);

 private:
  // Takes ownership of a graphic (deleting the old one) and tells OnChange.
  void Adopt(TGraphic* Value);

  TGraphic* FGraphic = nullptr;
};
