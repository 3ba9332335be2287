// The demo's main window, Form1.
#pragma once

#include "vcl/Forms.h"

class TForm1 : public TForm {
  QV_CLASS(TForm1, TForm)

  explicit TForm1(TComponent* AOwner) : TForm(AOwner) {}

  void FormCreate(TObject* Sender);

 protected:
  // The stored description of the window.
  void InitializeComponent() override;
};

extern TForm1* Form1;
