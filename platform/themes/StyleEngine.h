// The style engine: which style hook serves which control class or window class, and the
// hooks alive while a custom style is active. The style manager switches it with
// StyleEngineActivate; TStyleManager::Engine() is StyleEngine().
#pragma once

#include <functional>
#include <unordered_map>
#include <vector>

#include "StyleHooks.h"

QV_DECLARE_EXCEPTION(EStyleEngineException, Exception);

// A hook class as the engine registers it: its class information and how to make one.
struct TStyleHookClass {
  TClass Info = nullptr;
  std::function<TStyleHook*(TWinControl* Control)> Create;
};
struct TSysStyleHookClass {
  TClass Info = nullptr;
  std::function<TSysStyleHook*(HWND Handle)> Create;
};

template <class THook>
TStyleHookClass StyleHookClass() {
  return {THook::StaticClass(), [](TWinControl* Control) -> TStyleHook* { return new THook(Control); }};
}
template <class THook>
TSysStyleHookClass SysStyleHookClass() {
  return {THook::StaticClass(), [](HWND Handle) -> TSysStyleHook* { return new THook(Handle); }};
}

class TCustomStyleEngine {
 public:
  TCustomStyleEngine() = default;
  ~TCustomStyleEngine();
  TCustomStyleEngine(const TCustomStyleEngine&) = delete;
  TCustomStyleEngine& operator=(const TCustomStyleEngine&) = delete;

  // ---- the registry ----
  // A hook class for a control class and its descendants; the latest registration for a
  // class wins. Raises EStyleEngineException for a null class or factory and for a pair
  // that is registered already. While a custom style is active, controls whose windows
  // have no hook get one at once.
  void RegisterStyleHook(TClass ControlClass, const TStyleHookClass& HookClass);
  // Hooks made already stay until their windows go or the system style returns.
  void UnRegisterStyleHook(TClass ControlClass, TClass HookClass);
  // Window class names compare without regard to case. Raises EStyleEngineException for
  // an empty name, a null class or factory and for a pair that is registered already.
  void RegisterSysStyleHook(const String& WindowClassName, const TSysStyleHookClass& HookClass);
  void UnRegisterSysStyleHook(const String& WindowClassName, TClass HookClass);

  // The hook class that serves a control class: its own registration, else the nearest
  // registered ancestor's; null when none.
  TClass FindStyleHookClass(TClass ControlClass) const;
  TClass FindSysStyleHookClass(const String& WindowClassName) const;

  // ---- live hooks ----
  bool Active() const { return FActive; }
  // Makes the hooks of every window that wants one (true), or frees them all (false).
  void Activate(bool CustomStyleActive);
  TStyleHook* HookOf(const TWinControl* Control) const;
  TSysStyleHook* SysHookOf(HWND Handle) const;
  size_t HookCount() const { return FHooks.size() + FSysHooks.size(); }
  // Hooks a window that is not a control, made while a custom style is active, when its
  // class has a hook; the code that makes such windows calls it.
  void WindowCreated(HWND Handle);

  // The window procedure the engine puts in front of a hooked window's own.
  static LRESULT SysHookWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

 private:
  const TStyleHookClass* FindEntry(TClass ControlClass) const;
  const TSysStyleHookClass* FindSysEntry(const String& WindowClassName) const;
  void HookAll();
  void FreeAll();
  void HookControl(TWinControl* Control);
  void HookWindow(HWND Handle);
  void FreeHook(const TWinControl* Control);
  void FreeSysHook(HWND Handle, bool Restore);
  static void Discard(TStyleHook* Hook);
  bool Dispatch(TWinControl* Control, TMessage& Message);
  LRESULT SysWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  void ConnectHandlers();
  void DisconnectHandlers();

  std::unordered_map<TClass, std::vector<TStyleHookClass>> FControlClasses;
  std::unordered_map<String, std::vector<TSysStyleHookClass>> FWindowClasses;  // by lower-case name
  std::unordered_map<const TWinControl*, TStyleHook*> FHooks;
  std::unordered_map<HWND, TSysStyleHook*> FSysHooks;
  // Windows subclassed again over the engine's procedure after it hooked them: their
  // procedure could not be put back, so the engine's passes their messages on to this.
  std::unordered_map<HWND, WNDPROC> FOrphans;
  bool FActive = false;
  // Handler calls running now: the handlers are unset only once none runs.
  int FDispatchDepth = 0;
};

// The registry every style shares.
TCustomStyleEngine* StyleEngine();
// Called by the style manager: a custom style became active (true), or the system style
// returned (false).
void StyleEngineActivate(bool CustomStyleActive);
