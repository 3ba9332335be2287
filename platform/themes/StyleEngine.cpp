// TCustomStyleEngine: the registry of hook classes by control class and by window class
// name, and the live hooks: made for every window that wants one when a custom style
// becomes active and for windows made while it is, freed with their windows and when the
// system style returns.
#include "StyleEngine.h"

#include <algorithm>

#include "win/Queue.h"

namespace {

String ClassNameOf(HWND Handle) {
  String name;
  GetClassName(Handle, &name);
  return name;
}

// Every window, parents before their children.
std::vector<HWND> AllWindows() {
  std::vector<HWND> all;
  for (HWND top : TopLevelWindows()) {
    all.push_back(top);
    EnumChildWindows(top, [&](HWND child) {
      all.push_back(child);
      return TRUE;
    });
  }
  return all;
}

}  // namespace

TCustomStyleEngine::~TCustomStyleEngine() {
  // Only at the end of the program: the windows may be gone, so nothing is put back.
  for (auto& [control, hook] : FHooks) delete hook;
  for (auto& [handle, hook] : FSysHooks) delete hook;
}

// ---- the registry ----

void TCustomStyleEngine::RegisterStyleHook(TClass ControlClass, const TStyleHookClass& HookClass) {
  if (!ControlClass || !HookClass.Info || !HookClass.Create)
    throw EStyleEngineException("A style hook needs a control class, a hook class and a way to make it");
  std::vector<TStyleHookClass>& list = FControlClasses[ControlClass];
  for (const TStyleHookClass& c : list)
    if (c.Info == HookClass.Info)
      throw EStyleEngineException(String("Style hook ") + HookClass.Info->Name + " is registered for " +
                                  ControlClass->Name + " already");
  list.push_back(HookClass);
  if (FActive) HookAll();
}

void TCustomStyleEngine::UnRegisterStyleHook(TClass ControlClass, TClass HookClass) {
  auto it = FControlClasses.find(ControlClass);
  if (it == FControlClasses.end()) return;
  std::erase_if(it->second, [&](const TStyleHookClass& c) { return c.Info == HookClass; });
  if (it->second.empty()) FControlClasses.erase(it);
}

void TCustomStyleEngine::RegisterSysStyleHook(const String& WindowClassName, const TSysStyleHookClass& HookClass) {
  if (WindowClassName.empty() || !HookClass.Info || !HookClass.Create)
    throw EStyleEngineException("A system style hook needs a window class name, a hook class and a way to make it");
  std::vector<TSysStyleHookClass>& list = FWindowClasses[LowerCase(WindowClassName)];
  for (const TSysStyleHookClass& c : list)
    if (c.Info == HookClass.Info)
      throw EStyleEngineException(String("Style hook ") + HookClass.Info->Name + " is registered for window class " +
                                  WindowClassName + " already");
  list.push_back(HookClass);
  if (FActive) HookAll();
}

void TCustomStyleEngine::UnRegisterSysStyleHook(const String& WindowClassName, TClass HookClass) {
  auto it = FWindowClasses.find(LowerCase(WindowClassName));
  if (it == FWindowClasses.end()) return;
  std::erase_if(it->second, [&](const TSysStyleHookClass& c) { return c.Info == HookClass; });
  if (it->second.empty()) FWindowClasses.erase(it);
}

const TStyleHookClass* TCustomStyleEngine::FindEntry(TClass ControlClass) const {
  for (TClass c = ControlClass; c; c = c->Parent) {
    auto it = FControlClasses.find(c);
    if (it != FControlClasses.end() && !it->second.empty()) return &it->second.back();
  }
  return nullptr;
}

const TSysStyleHookClass* TCustomStyleEngine::FindSysEntry(const String& WindowClassName) const {
  auto it = FWindowClasses.find(LowerCase(WindowClassName));
  return it != FWindowClasses.end() && !it->second.empty() ? &it->second.back() : nullptr;
}

TClass TCustomStyleEngine::FindStyleHookClass(TClass ControlClass) const {
  const TStyleHookClass* entry = FindEntry(ControlClass);
  return entry ? entry->Info : nullptr;
}

TClass TCustomStyleEngine::FindSysStyleHookClass(const String& WindowClassName) const {
  const TSysStyleHookClass* entry = FindSysEntry(WindowClassName);
  return entry ? entry->Info : nullptr;
}

// ---- live hooks ----

TStyleHook* TCustomStyleEngine::HookOf(const TWinControl* Control) const {
  auto it = FHooks.find(Control);
  return it == FHooks.end() ? nullptr : it->second;
}

TSysStyleHook* TCustomStyleEngine::SysHookOf(HWND Handle) const {
  auto it = FSysHooks.find(Handle);
  return it == FSysHooks.end() ? nullptr : it->second;
}

void TCustomStyleEngine::Activate(bool CustomStyleActive) {
  if (CustomStyleActive) {
    FActive = true;
    ConnectHandlers();
    HookAll();
  } else if (FActive) {
    FActive = false;
    FreeAll();
    DisconnectHandlers();
  }
}

void TCustomStyleEngine::HookAll() {
  for (HWND h : AllWindows()) {
    if (!LiveWindow(h)) continue;  // a hook's constructor may have taken windows away
    if (TWinControl* control = TWinControl::FindControl(h))
      HookControl(control);
    else
      HookWindow(h);
  }
}

void TCustomStyleEngine::FreeAll() {
  while (!FHooks.empty()) FreeHook(FHooks.begin()->first);
  while (!FSysHooks.empty()) FreeSysHook(FSysHooks.begin()->first, true);
}

void TCustomStyleEngine::WindowCreated(HWND Handle) {
  if (FActive && LiveWindow(Handle) && !TWinControl::FindControl(Handle)) HookWindow(Handle);
}

void TCustomStyleEngine::HookControl(TWinControl* Control) {
  if (FHooks.count(Control) || !Control->HandleAllocated()) return;
  const TStyleHookClass* entry = FindEntry(Control->ClassType());
  if (!entry) return;
  TStyleHook* hook = entry->Create(Control);
  // A factory may decline a control.
  if (hook) FHooks[Control] = hook;
}

void TCustomStyleEngine::HookWindow(HWND Handle) {
  if (FSysHooks.count(Handle)) return;
  const TSysStyleHookClass* entry = FindSysEntry(ClassNameOf(Handle));
  if (!entry) return;
  TSysStyleHook* hook = entry->Create(Handle);
  if (!hook) return;
  FSysHooks[Handle] = hook;
  auto orphan = FOrphans.find(Handle);
  if (orphan != FOrphans.end()) {
    // The engine's procedure is still in the window's chain: it serves the new hook.
    hook->FOrgWndProc = orphan->second;
    FOrphans.erase(orphan);
    return;
  }
  hook->FOrgWndProc = reinterpret_cast<WNDPROC>(GetWindowLongPtr(Handle, GWLP_WNDPROC));
  SetWindowLongPtr(Handle, GWLP_WNDPROC, reinterpret_cast<intptr_t>(&SysHookWndProc));
}

void TCustomStyleEngine::Discard(TStyleHook* Hook) {
  if (Hook->FDepth > 0)
    Hook->FFreePending = true;  // HandleMessage deletes it when its messages are done
  else
    delete Hook;
}

void TCustomStyleEngine::FreeHook(const TWinControl* Control) {
  auto it = FHooks.find(Control);
  if (it == FHooks.end()) return;
  TStyleHook* hook = it->second;
  FHooks.erase(it);
  Discard(hook);
}

void TCustomStyleEngine::FreeSysHook(HWND Handle, bool Restore) {
  auto it = FSysHooks.find(Handle);
  if (it == FSysHooks.end()) return;
  TSysStyleHook* hook = it->second;
  FSysHooks.erase(it);
  if (Restore && LiveWindow(Handle)) {
    const auto current = reinterpret_cast<WNDPROC>(GetWindowLongPtr(Handle, GWLP_WNDPROC));
    if (current == &SysHookWndProc)
      SetWindowLongPtr(Handle, GWLP_WNDPROC, reinterpret_cast<intptr_t>(hook->FOrgWndProc));
    else
      FOrphans[Handle] = hook->FOrgWndProc;
  }
  Discard(hook);
}

// ---- the message paths ----

bool TCustomStyleEngine::Dispatch(TWinControl* Control, TMessage& Message) {
  auto it = FHooks.find(Control);
  if (it == FHooks.end()) return false;
  ++FDispatchDepth;
  Finally leave{[this] {
    if (--FDispatchDepth == 0 && !FActive) DisconnectHandlers();
  }};
  return it->second->HandleMessage(Message);
}

LRESULT TCustomStyleEngine::SysHookWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  return StyleEngine()->SysWndProc(hwnd, msg, wParam, lParam);
}

LRESULT TCustomStyleEngine::SysWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto it = FSysHooks.find(hwnd);
  if (it == FSysHooks.end()) {
    auto orphan = FOrphans.find(hwnd);
    WNDPROC next = orphan != FOrphans.end() ? orphan->second : nullptr;
    if (msg == WM_NCDESTROY && orphan != FOrphans.end()) FOrphans.erase(orphan);
    return next ? CallWindowProc(next, hwnd, msg, wParam, lParam) : DefWindowProc(hwnd, msg, wParam, lParam);
  }
  TSysStyleHook* hook = it->second;
  const WNDPROC next = hook->FOrgWndProc;
  TMessage message;
  message.Msg = msg;
  message.WParam = wParam;
  message.LParam = lParam;
  // The hook may be freed while the message runs (HandleMessage then deletes it).
  if (!hook->HandleMessage(message))
    message.Result = next ? CallWindowProc(next, hwnd, message.Msg, message.WParam, message.LParam)
                          : DefWindowProc(hwnd, message.Msg, message.WParam, message.LParam);
  if (msg == WM_NCDESTROY) FreeSysHook(hwnd, false);
  return message.Result;
}

void TCustomStyleEngine::ConnectHandlers() {
  if (!StyleHookHandler)
    StyleHookHandler = [](TWinControl* Control, TMessage& Message) {
      return StyleEngine()->Dispatch(Control, Message);
    };
  if (!ControlHandleHook)
    ControlHandleHook = [](TWinControl* Control, bool Created) {
      TCustomStyleEngine* engine = StyleEngine();
      engine->FreeHook(Control);
      if (Created && engine->FActive) engine->HookControl(Control);
    };
  if (!WindowCreatedHook) WindowCreatedHook = [](HWND Handle) { StyleEngine()->WindowCreated(Handle); };
}

void TCustomStyleEngine::DisconnectHandlers() {
  // A handler that runs now must not lose its own function object under it.
  if (FDispatchDepth > 0) return;
  StyleHookHandler = nullptr;
  ControlHandleHook = nullptr;
  WindowCreatedHook = nullptr;
}

TCustomStyleEngine* StyleEngine() {
  // Never destroyed: windows may still send messages while the program ends.
  static TCustomStyleEngine* engine = new TCustomStyleEngine;
  return engine;
}

void StyleEngineActivate(bool CustomStyleActive) { StyleEngine()->Activate(CustomStyleActive); }
