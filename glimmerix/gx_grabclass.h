// Unit gx_grabclass: the registry of grabber classes. A grab asks it which strategy paints
// a control: the last registered class that serves the control's class, or that lists the
// control's class by name.
#pragma once

#include <functional>
#include <vector>

#include "vcl/Classes.h"

class TControl;
class TgxGrabber;

// A class of control a grabber serves.
using TgxGrabberControlClass = TClass;

// A grabber class as the registry keeps it: its class information, what it serves and
// how to make one.
struct TgxGrabberClass {
  TClass Info = nullptr;
  TgxGrabberControlClass ControlClass = nullptr;
  // Lower-case class names separated by ';'.
  String ClassNames;
  std::function<TgxGrabber*()> Create;
};

template <class TGrabber>
TgxGrabberClass GrabberClass() {
  return {TGrabber::StaticClass(), TGrabber::GetGrabberClassType(), TGrabber::GetGrabberClassName(),
          []() -> TgxGrabber* { return new TGrabber; }};
}

// Appends to the registry. Raises EArgumentException for a class without information or
// factory.
void RegisterGrabber(const TgxGrabberClass& GrabberClass);
template <class TGrabber>
void RegisterGrabber() {
  RegisterGrabber(GrabberClass<TGrabber>());
}
// Takes every entry of a grabber class out again (programs that unload a kind of control,
// and tests).
void UnRegisterGrabber(TClass GrabberInfo);

// The registered grabber classes, oldest first. The windowed-control grabber is always
// the first: the unit registers it before anything else is.
const std::vector<TgxGrabberClass>& gxGrabberClasses();

// The entry that grabs a control: walking from the last entry to the first, the first one
// the control is an instance of (its control class) or whose name list holds the
// control's class name as a whole entry (letter case aside); null when none does.
const TgxGrabberClass* gxFindGrabberClass(const TControl* AControl);
