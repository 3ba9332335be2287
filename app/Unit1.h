// The demo's main window, Form1.
#pragma once

#include "qvHint.h"
#include "vcl/Forms.h"

class TForm1 : public TForm {
  QV_CLASS(TForm1, TForm)

  explicit TForm1(TComponent* AOwner) : TForm(AOwner) {}

  // Shows the hints of the controls that name it (the horizontal list box's items).
  TqvBalloonHint* qvBalloonHint1 = nullptr;

  void FormCreate(TObject* Sender);

 protected:
  // The stored description of the window.
  void InitializeComponent() override;
};

extern TForm1* Form1;
