// What the button tests share: buttons on the host that count their clicks, mouse clicks
// that never make a double click, and keys typed into the host's window.
#pragma once

#include <algorithm>
#include <vector>

#include "ControlFixture.h"
#include "qvControls/Button.h"
#include "win/Input.h"

class ButtonFixture : public ControlFixture {
 protected:
  // A 100 x 35 button at (X, Y) whose clicks add its tag to Clicks.
  TqvButton* NewButton(int X, int Y, int Tag = 0, int W = 100, int H = 35) {
    auto* b = Make<TqvButton>(Host, {X, Y, X + W, Y + H});
    b->SetCaption("Button");
    b->OnClick = [this, Tag](TObject*) { Clicks.push_back(Tag); };
    return b;
  }
  void Press(int X, int Y) {
    Mouse(InputKind::MouseMove, X, Y);
    Mouse(InputKind::MouseDown, X, Y);
    Run();
  }
  void Release(int X, int Y) {
    Mouse(InputKind::MouseMove, X, Y);
    Mouse(InputKind::MouseUp, X, Y);
    Run();
    // Far enough apart that the next press is no double click.
    Advance(GetDoubleClickTime() + 1);
  }
  void ClickAt(int X, int Y) {
    Press(X, Y);
    Release(X, Y);
  }
  // Moves the clock in steps of 10 ms, running the loop after each, as time passes for a
  // loop that is not busy (one big step would fire a due timer only once).
  void Wait(int Ms) {
    for (int t = 0; t < Ms; t += 10) {
      Advance(std::min(10, Ms - t));
      Run();
    }
  }
  void Key(UINT Vk, bool Down) {
    Headless()->Inject({.Kind = Down ? InputKind::KeyDown : InputKind::KeyUp, .Window = Top->Native, .Key = Vk});
    Run();
  }
  void Type(UINT Vk) {
    Key(Vk, true);
    Key(Vk, false);
  }

  std::vector<int> Clicks;
};
