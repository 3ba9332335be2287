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
}

void TForm1::FormCreate(TObject*) {
  // The window holds no controls, so there is nothing to set up when it is made.
}
