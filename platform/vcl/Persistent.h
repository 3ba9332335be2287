// The root of the framework's classes: TObject with its class information and deferred
// release, and TPersistent with assignment between objects.
#pragma once

#include <functional>

#include "SysUtils.h"

// What a class knows about itself at run time: its name and its parent's information.
struct TClassInfo {
  const char* Name;
  const TClassInfo* Parent;

  bool InheritsFrom(const TClassInfo* other) const {
    for (const TClassInfo* c = this; c; c = c->Parent)
      if (c == other) return true;
    return false;
  }
};
using TClass = const TClassInfo*;

// Gives a class its class information. Put it first in the class body; it leaves the
// access at public.
#define QV_CLASS(Class, ParentClass)                                  \
 public:                                                              \
  static TClass StaticClass() {                                       \
    static const TClassInfo info{#Class, ParentClass::StaticClass()}; \
    return &info;                                                     \
  }                                                                   \
  TClass ClassType() const override { return StaticClass(); }

// The window layer defines the message record; TObject only passes it on.
struct TMessage;

class TObject {
 public:
  TObject() = default;
  virtual ~TObject();
  TObject(const TObject&) = delete;
  TObject& operator=(const TObject&) = delete;

  static TClass StaticClass() {
    static const TClassInfo info{"TObject", nullptr};
    return &info;
  }
  virtual TClass ClassType() const { return StaticClass(); }
  String ClassName() const { return ClassType()->Name; }
  TClass ClassParent() const { return ClassType()->Parent; }
  bool ClassNameIs(const String& name) const { return SameText(ClassName(), name); }
  bool InheritsFrom(TClass cls) const { return ClassType()->InheritsFrom(cls); }
  // By name, case-insensitively, as the framework compares class names.
  bool InheritsFrom(const String& className) const;

  virtual void AfterConstruction() {}
  virtual void BeforeDestruction() {}
  // BeforeDestruction, then delete. Call it only on an object made with new; use
  // FreeAndNil for a pointer that may be null.
  void Free();
  // Deletes the object when the message loop next drains ProcessDeferredReleases, so an
  // object can let go of itself from inside its own event or timer.
  void Release();

  // Message dispatch by number; the window layer's classes override it.
  virtual void Dispatch(TMessage& message);
  virtual void DefaultHandler(TMessage& message);
};

// Frees what Release asked for, including objects released while this runs; nothing while
// a TReleaseHold lives.
void ProcessDeferredReleases();
// Objects waiting in the deferred list (tests).
size_t DeferredReleaseCount();

// Keeps released objects alive while it lives. Code that waits in a nested message loop
// holds one: a handler run meanwhile may release what the waiting code and its caller
// still use (a form closed with caFree, and the components it owns). The loop frees them
// when it drains the list after the last hold has gone.
class TReleaseHold {
 public:
  TReleaseHold();
  ~TReleaseHold();
  TReleaseHold(const TReleaseHold&) = delete;
  TReleaseHold& operator=(const TReleaseHold&) = delete;
};

template <class T>
void FreeAndNil(T*& object) {
  T* o = object;
  object = nullptr;
  if (o) o->Free();
}

// An event: the framework's method references whose first argument is the sender.
using TNotifyEvent = std::function<void(TObject* Sender)>;

class TPersistent : public TObject {
  QV_CLASS(TPersistent, TObject)

  // Copies Source into this object. The base asks Source to assign itself to this object
  // and raises EConvertError "Cannot assign a X to a Y" when neither knows how.
  virtual void Assign(TPersistent* Source);
  virtual String GetNamePath() const;

 protected:
  virtual void AssignTo(TPersistent* Dest);
  virtual TPersistent* GetOwner() const { return nullptr; }
  [[noreturn]] void AssignError(const TPersistent* Source) const;
};
