// A window with one control that has a popup menu, for the end-to-end menu test on a real
// display: it prints "menu opened at X,Y" when the menu opens, "menu shown" when its loop
// takes its first message (its window is up by then), "menu closed" when the loop ends and
// "clicked: <caption>" for each item click, so that a script driving the mouse can follow it.
#include <cstdio>

#include "ProbeMain.h"
#include "vcl/Forms.h"
#include "vcl/Menus.h"
#include "win/Input.h"

namespace {

bool g_shownReported = false;

LRESULT ReportMenuShown(int code, WPARAM wParam, LPARAM lParam) {
  if (code == MSGF_MENU && !g_shownReported) {
    g_shownReported = true;
    std::printf("menu shown\n");
    std::fflush(stdout);
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

class TProbeForm : public TForm {
  QV_CLASS(TProbeForm, TForm)
  explicit TProbeForm(TComponent* AOwner) : TForm(AOwner) {}

 protected:
  void InitializeComponent() override {
    SetCaption("Menu probe");
    SetBorderStyle(bsSingle);
    SetClientWidth(300);
    SetClientHeight(200);
    SetPosition(poScreenCenter);
    auto* menu = new TPopupMenu(this);
    auto report = [](TObject* Sender) {
      std::printf("clicked: %s\n", static_cast<TMenuItem*>(Sender)->Caption().c_str());
      std::fflush(stdout);
    };
    menu->Items()->Add({NewItem("First", scNone, false, true, report), NewItem("Second", scNone, false, true, report),
                        NewLine(), NewItem("Third", scNone, false, true, report)});
    menu->OnPopup = [menu](TObject*) {
      std::printf("menu opened at %d,%d\n", menu->PopupPoint().X, menu->PopupPoint().Y);
      std::fflush(stdout);
    };
    menu->OnClose = [](TObject*) {
      g_shownReported = false;
      std::printf("menu closed\n");
      std::fflush(stdout);
    };
    auto* target = new TWinControl(this);
    target->SetBounds(20, 20, 200, 120);
    target->SetPopupMenu(menu);
    target->SetParent(this);
  }
};

TProbeForm* ProbeForm = nullptr;

}  // namespace

int main() {
  return RunProbe("menu-probe", ProbeForm, [] { SetWindowsHookEx(WH_MSGFILTER, ReportMenuShown, nullptr, 0); });
}
