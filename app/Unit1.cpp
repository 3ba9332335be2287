#include "app/Unit1.h"

TForm1* Form1 = nullptr;

void TForm1::InitializeComponent() {
  SetName("Form1");
  SetBorderIcons({biSystemMenu, biMinimize});
  SetBorderStyle(bsSingle);
  SetCaption("Quorvane VCL + Glimmerix - Demo");
  SetClientHeight(604);
  SetClientWidth(831);
  SetColor(clBtnFace);
  Font()->SetCharset(DEFAULT_CHARSET);
  Font()->SetColor(clWindowText);
  Font()->SetHeight(-11);
  Font()->SetName("Tahoma");
  Font()->SetStyle({});
  SetPosition(poScreenCenter);
  SetPixelsPerInch(96);
  OnCreate = [this](TObject* Sender) { FormCreate(Sender); };

  qvBalloonHint1 = new TqvBalloonHint(this);
  qvBalloonHint1->SetName("qvBalloonHint1");
  qvBalloonHint1->SetHideAfter(2000);
}

void TForm1::FormCreate(TObject*) {
  // Nothing of the window needs setting up once it is made.
}
