// The demo's main window on the headless backend.
#include <gtest/gtest.h>

#include "app/Unit1.h"
#include "backend/Headless.h"
#include "win/Queue.h"

namespace {

class MainWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    FSaved = Application;
    Application = new TApplication(nullptr);
    // A work area that does not start at the screen's corner.
    Headless()->SetScreen({0, 0, 1600, 1000}, {0, 40, 1600, 1000});
    Application->Initialize();
    Application->SetMainFormOnTaskbar(true);
    Application->CreateForm(Form1);
  }
  void TearDown() override {
    Application->Free();
    Application = FSaved;
    Form1 = nullptr;
    ResetWindowSystem();
    SetBackend(nullptr);
  }

  static RECT WindowRect() {
    RECT r{};
    GetWindowRect(Form1->Handle(), &r);
    return r;
  }

 private:
  TApplication* FSaved = nullptr;
};

TEST_F(MainWindow, IsTheDescribedWindow) {
  ASSERT_NE(Form1, nullptr);
  EXPECT_EQ(Application->MainForm(), Form1);
  EXPECT_EQ(Form1->Name(), "Form1");
  EXPECT_EQ(Form1->Caption(), "Quorvane VCL + Glimmerix - Demo");
  EXPECT_EQ(Form1->BorderStyle(), bsSingle);
  EXPECT_EQ(Form1->BorderIcons(), (TBorderIcons{biSystemMenu, biMinimize}));
  EXPECT_EQ(Form1->Position(), poScreenCenter);
  EXPECT_EQ(Form1->Color(), clBtnFace);
  EXPECT_EQ(Form1->Font()->Name(), "Tahoma");
  EXPECT_EQ(Form1->Font()->Height(), MulDiv(-11, Screen->PixelsPerInch(), 96));
  EXPECT_TRUE(Form1->OnCreate != nullptr);
  EXPECT_FALSE(Form1->Visible());  // Run shows it
  auto* balloon = dynamic_cast<TqvBalloonHint*>(Form1->FindComponent("qvBalloonHint1"));
  ASSERT_NE(balloon, nullptr);
  EXPECT_EQ(balloon, Form1->qvBalloonHint1);
  EXPECT_EQ(balloon->HideAfter(), 2000);

  Form1->Show();
  Application->ProcessMessages();
  RECT client{};
  GetClientRect(Form1->Handle(), &client);
  EXPECT_EQ(client.Width(), MulDiv(831, Screen->PixelsPerInch(), 96));
  EXPECT_EQ(client.Height(), MulDiv(604, Screen->PixelsPerInch(), 96));
  String title;
  GetWindowText(Form1->Handle(), &title);
  EXPECT_EQ(title, "Quorvane VCL + Glimmerix - Demo");

  // Centred on the work area.
  const RECT r = WindowRect();
  EXPECT_EQ(r.Left, (1600 - r.Width()) / 2);
  EXPECT_EQ(r.Top, 40 + (960 - r.Height()) / 2);

  const DWORD style = DWORD(GetWindowLong(Form1->Handle(), GWL_STYLE));
  EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX), WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX);
  EXPECT_EQ(style & (WS_MAXIMIZEBOX | WS_THICKFRAME), 0u);
}

TEST_F(MainWindow, CannotBeMaximisedOrResizedButMinimisedAndRestored) {
  Form1->Show();
  Application->ProcessMessages();
  const HWND h = Form1->Handle();
  const RECT before = WindowRect();
  SendMessage(h, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
  EXPECT_FALSE(IsZoomed(h));
  EXPECT_EQ(WindowRect(), before);
  // The frame offers no sizing border.
  const RECT frame = WindowRect();
  for (POINT p : {POINT{frame.Right - 1, frame.Top + 100}, POINT{frame.Left + 100, frame.Bottom - 1}}) {
    const LRESULT hit = SendMessage(h, WM_NCHITTEST, 0, MAKELPARAM(p.X, p.Y));
    EXPECT_NE(hit, HTRIGHT);
    EXPECT_NE(hit, HTBOTTOM);
  }
  SendMessage(h, WM_SYSCOMMAND, SC_MINIMIZE, 0);
  EXPECT_TRUE(IsIconic(h));
  EXPECT_EQ(Form1->WindowState(), wsMinimized);
  SendMessage(h, WM_SYSCOMMAND, SC_RESTORE, 0);
  EXPECT_FALSE(IsIconic(h));
  EXPECT_EQ(WindowRect(), before);
}

TEST_F(MainWindow, ClosingItEndsRun) {
  PostMessage(Form1->Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
  Application->Run();
  EXPECT_TRUE(Application->Terminated());
}

}  // namespace
