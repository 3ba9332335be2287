// A fixture for control tests on the headless backend: a parentless TWinControl, the
// host, embedded in a plain 400 x 300 top-level window at the screen's top-left corner, so
// that host client, window surface and screen coordinates agree; controls made in one
// line; injected mouse input; pixels of the surface; a clean window system after each test.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "backend/Headless.h"
#include "support/AppHooks.h"
#include "vcl/Controls.h"
#include "win/Paint.h"
#include "win/Queue.h"

class TApplication;

struct ControlHostSetup {
  // The host clips its children and is a control parent, as a container is.
  bool AcceptsControls = true;
  // An application made for each test; Run then goes through its message loop.
  bool OwnApplication = false;
};

class ControlHostTest : public ::testing::Test {
 protected:
  ControlHostTest() = default;
  explicit ControlHostTest(ControlHostSetup Setup) : FSetup(Setup) {}

  void SetUp() override;
  void TearDown() override;

  // The window class of Top: plain, for more windows of the same kind.
  static constexpr const char* kTopClass = "ControlHostTop";

  template <class T>
  static T* Make(TWinControl* Parent, TRect Bounds) {
    T* control = new T(nullptr);
    control->SetBounds(Bounds.Left, Bounds.Top, Bounds.Width(), Bounds.Height());
    control->SetParent(Parent);
    return control;
  }
  template <class T>
  static T* Make(TWinControl* Parent, const char* Name, TRect Bounds) {
    T* control = new T(nullptr);
    control->SetName(Name);
    control->SetBounds(Bounds.Left, Bounds.Top, Bounds.Width(), Bounds.Height());
    control->SetParent(Parent);
    return control;
  }

  // Dispatches everything that is ready. With an application of the test's own it goes
  // the application's way (mouse messages update the control under the mouse), then lets
  // released objects go as the loop does when it is idle.
  void Run() const;
  static void Advance(uint64_t ms) { Headless()->Advance(ms); }
  static void Mouse(InputKind kind, int x, int y) {
    Headless()->Inject({.Kind = kind, .Screen = {x, y}, .Button = kButtonLeft});
  }

  COLORREF At(int x, int y) const { return ColorRefFromPixel(Top->Pixels->At(x, y)); }
  // The first pixel of the rectangle (surface coordinates) whose colour is not
  // Expected(x, y), as "pixel x,y"; empty when none.
  std::string Mismatch(const TRect& Area, const std::function<COLORREF(int x, int y)>& Expected) const;
  // Saves the top-level surface when the test has failed so far.
  void SaveScreenIfFailed(const char* tag) const;

  HWND Top = nullptr;
  TWinControl* Host = nullptr;

 private:
  ControlHostSetup FSetup;
  std::optional<SavedAppHooks> FSavedHooks;
  TApplication* FSavedApplication = nullptr;
};
