#include "Backend.h"

#include "Headless.h"

namespace {
std::unique_ptr<Backend>& Slot() {
  static std::unique_ptr<Backend> backend;
  return backend;
}
}  // namespace

Backend& CurrentBackend() {
  if (!Slot()) Slot() = std::make_unique<HeadlessBackend>();
  return *Slot();
}

void SetBackend(std::unique_ptr<Backend> backend) {
  Slot() = backend ? std::move(backend) : std::make_unique<HeadlessBackend>();
}

HeadlessBackend* Headless() { return dynamic_cast<HeadlessBackend*>(&CurrentBackend()); }
