#include "support/ControlHost.h"

#include "support/Canvas.h"
#include "vcl/Forms.h"

void ControlHostTest::SetUp() {
  SetBackend(nullptr);
  // An application installs its own hooks; a test may set them too.
  FSavedHooks.emplace();
  if (FSetup.OwnApplication) {
    FSavedApplication = Application;
    Application = new TApplication(nullptr);
  }
  WNDCLASS wc;
  wc.lpfnWndProc = &DefWindowProc;
  wc.lpszClassName = kTopClass;
  ASSERT_NE(RegisterClass(&wc), 0);
  Top = CreateWindowEx(0, kTopClass, "", WS_POPUP | WS_VISIBLE, 0, 0, 400, 300, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(Top, nullptr);
  Host = new TWinControl(nullptr);
  Host->SetName("Host");
  if (FSetup.AcceptsControls) Host->SetControlStyle(Host->ControlStyle() + csAcceptsControls);
  Host->SetColor(clWhite);
  Host->SetBounds(0, 0, 400, 300);
  Host->SetParentWindow(Top);
  ASSERT_TRUE(Host->HandleAllocated());
}

void ControlHostTest::TearDown() {
  delete Host;
  Host = nullptr;
  if (FSetup.OwnApplication) {
    Application->Free();
    Application = FSavedApplication;
  }
  ProcessDeferredReleases();
  ResetWindowSystem();
  Top = nullptr;
  FSavedHooks.reset();
}

void ControlHostTest::Run() const {
  if (!FSetup.OwnApplication) {
    ProcessPendingMessages();
    return;
  }
  Application->ProcessMessages();
  ProcessDeferredReleases();
}

std::string ControlHostTest::Mismatch(const TRect& Area, const std::function<COLORREF(int x, int y)>& Expected) const {
  for (int y = Area.Top; y < Area.Bottom; ++y)
    for (int x = Area.Left; x < Area.Right; ++x)
      if (At(x, y) != Expected(x, y)) return "pixel " + std::to_string(x) + "," + std::to_string(y);
  return {};
}

void ControlHostTest::SaveScreenIfFailed(const char* tag) const {
  if (!::testing::Test::HasFailure()) return;
  TestCanvas copy(Top->Pixels->Width(), Top->Pixels->Height());
  for (int y = 0; y < copy.Height(); ++y)
    for (int x = 0; x < copy.Width(); ++x) copy.Pixels().At(x, y) = Top->Pixels->At(x, y) | 0xFF000000u;
  SaveIfFailed(copy, tag);
}
