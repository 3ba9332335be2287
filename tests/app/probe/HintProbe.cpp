// A window with one control that has a hint, for the end-to-end hint test on a real
// display: it prints "hint shown: <text>" and "hint hidden" as the application's hint
// window comes and goes, so that a script driving the mouse can follow it.
#include <cstdio>

#include "vcl/ExtCtrls.h"
#include "ProbeMain.h"
#include "vcl/Forms.h"
#include "vcl/Hints.h"

namespace {

class TProbeForm : public TForm {
  QV_CLASS(TProbeForm, TForm)
  explicit TProbeForm(TComponent* AOwner) : TForm(AOwner) {}

 protected:
  void InitializeComponent() override {
    SetCaption("Hint probe");
    SetBorderStyle(bsSingle);
    SetClientWidth(300);
    SetClientHeight(200);
    SetPosition(poScreenCenter);
    auto* target = new TWinControl(this);
    target->SetBounds(20, 20, 120, 40);
    target->SetHint("Probe hint|Shown while the mouse rests here");
    target->SetShowHint(true);
    target->SetParent(this);
    auto* watch = new TTimer(this);
    watch->SetInterval(20);
    watch->OnTimer = [this](TObject*) { Report(); };
  }

 private:
  void Report() {
    THintWindow* w = Application->HintWindow();
    const bool shown = w && w->HandleAllocated() && IsWindowVisible(w->Handle());
    if (shown == FShown) return;
    FShown = shown;
    if (shown)
      std::printf("hint shown: %s\n", w->Caption().c_str());
    else
      std::printf("hint hidden\n");
    std::fflush(stdout);
  }
  bool FShown = false;
};

TProbeForm* ProbeForm = nullptr;

}  // namespace

int main() {
  return RunProbe("hint-probe", ProbeForm, [] {
    // Only leaving the control may hide the hint within the test's wait.
    Application->SetHintHidePause(60000);
  });
}
