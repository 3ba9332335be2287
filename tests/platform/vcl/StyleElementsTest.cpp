// A change of StyleElements: the control hears CM_STYLECHANGED, then UpdateStyleElements,
// which a control overrides to take the change its own way.
#include <gtest/gtest.h>

#include <string>

#include "vcl/Controls.h"

namespace {

class TStyleListener : public TGraphicControl {
  QV_CLASS(TStyleListener, TGraphicControl)
  explicit TStyleListener(TComponent* AOwner) : TGraphicControl(AOwner) {
    WindowProc = [this](TMessage& m) {
      if (m.Msg == CM_STYLECHANGED) Log += "changed ";
      WndProc(m);
    };
  }
  std::string Log;
  void UpdateStyleElements() override { Log += "update "; }
};

TEST(StyleElementsTest, AChangeIsAnnouncedThenTakenByTheControl) {
  TStyleListener control(nullptr);
  control.SetStyleElements({seFont, seClient, seBorder});
  EXPECT_EQ(control.Log, "") << "no change";
  control.SetStyleElements({seClient});
  EXPECT_EQ(control.Log, "changed update ");
  EXPECT_EQ(control.StyleElements(), TStyleElements{seClient});
}

}  // namespace
