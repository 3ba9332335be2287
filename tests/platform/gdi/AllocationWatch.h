// The largest single allocation a piece of code makes, seen through AddressSanitizer's
// allocation hooks (every malloc and operator new of the process passes them). Without
// AddressSanitizer nothing is seen and LargestAllocation answers std::nullopt.
#pragma once

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <functional>
#include <optional>

extern "C" int __sanitizer_install_malloc_and_free_hooks(void (*)(const volatile void*, size_t),
                                                         void (*)(const volatile void*)) __attribute__((weak));

namespace allocation_watch {

inline std::atomic<bool> gWatching{false};
inline std::atomic<size_t> gLargest{0};

inline void OnMalloc(const volatile void*, size_t size) {
  if (!gWatching.load(std::memory_order_relaxed)) return;
  size_t seen = gLargest.load(std::memory_order_relaxed);
  while (size > seen && !gLargest.compare_exchange_weak(seen, size, std::memory_order_relaxed)) {
  }
}

inline void OnFree(const volatile void*) {}

// The hooks cannot be taken out again: they are put in once and only count while asked.
inline bool Installed() {
  static const bool installed =
      __sanitizer_install_malloc_and_free_hooks && __sanitizer_install_malloc_and_free_hooks(OnMalloc, OnFree) != 0;
  return installed;
}

}  // namespace allocation_watch

// The size of the largest block Fn allocates.
inline std::optional<size_t> LargestAllocation(const std::function<void()>& Fn) {
  using namespace allocation_watch;
  if (!Installed()) {
    Fn();
    return std::nullopt;
  }
  gLargest = 0;
  gWatching = true;
  Fn();
  gWatching = false;
  return gLargest.load();
}
