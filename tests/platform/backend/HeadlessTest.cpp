#include <gtest/gtest.h>

#include "backend/Headless.h"

namespace {

TEST(Headless, ClockMovesOnlyWhenTold) {
  HeadlessBackend b;
  const uint64_t start = b.Now();
  b.WaitForEvent(500);
  EXPECT_EQ(b.Now(), start) << "waiting does not move the virtual clock";
  b.Advance(20);
  EXPECT_EQ(b.Now(), start + 20);
}

TEST(Headless, InjectedInputComesOutInOrderStampedAndMovesTheCursor) {
  HeadlessBackend b;
  const NativeWindowId w = b.CreateNativeWindow({NativeWindowKind::Normal, {10, 10, 110, 60}, "Main", false});
  InputEvent move{.Kind = InputKind::MouseMove, .Window = w, .Screen = {40, 30}};
  b.Inject(move);
  b.Advance(5);
  InputEvent down{.Kind = InputKind::MouseDown, .Window = w, .Screen = {41, 30}, .Button = kButtonLeft};
  b.Inject(down);
  EXPECT_EQ(b.CursorPos(), (POINT{41, 30}));
  InputEvent e;
  ASSERT_TRUE(b.PollEvent(&e));
  EXPECT_EQ(e.Kind, InputKind::MouseMove);
  EXPECT_EQ(e.Time, 0u);
  ASSERT_TRUE(b.PollEvent(&e));
  EXPECT_EQ(e.Kind, InputKind::MouseDown);
  EXPECT_EQ(e.Button, kButtonLeft);
  EXPECT_EQ(e.Time, 5u);
  EXPECT_FALSE(b.PollEvent(&e));
}

TEST(Headless, PresentCopiesOnlyTheDamagedPart) {
  HeadlessBackend b;
  const NativeWindowId w = b.CreateNativeWindow({NativeWindowKind::Normal, {0, 0, 4, 3}, "", false});
  Surface s(4, 3);
  s.Fill(0xFF112233u);
  b.Present(w, s, Region(RECT{1, 1, 3, 2}));
  const Surface& screen = *b.Window(w)->Screen;
  EXPECT_EQ(screen.At(1, 1), 0xFF112233u);
  EXPECT_EQ(screen.At(2, 1), 0xFF112233u);
  EXPECT_EQ(screen.At(0, 0), 0u);
  EXPECT_EQ(screen.At(3, 1), 0u);
  b.Present(w, s, Region(RECT{-5, -5, 50, 50}));  // damage past the edges is cut
  EXPECT_EQ(screen.At(3, 2), 0xFF112233u);
  EXPECT_EQ(b.Window(w)->PresentCount, 2);
}

TEST(Headless, WindowsActivateAndGoAway) {
  HeadlessBackend b;
  const NativeWindowId a = b.CreateNativeWindow({NativeWindowKind::Normal, {0, 0, 10, 10}, "A", false});
  const NativeWindowId p = b.CreateNativeWindow({NativeWindowKind::Popup, {0, 0, 5, 5}, "", true});
  b.ShowNativeWindow(a, true, true);
  b.ShowNativeWindow(p, true, false);
  EXPECT_TRUE(b.Window(a)->Active);
  EXPECT_FALSE(b.Window(p)->Active) << "shown without activation";
  b.SetNativeWindowBounds(a, {5, 5, 25, 15});
  EXPECT_EQ(b.Window(a)->Screen->Width(), 20);
  b.Inject({.Kind = InputKind::MouseMove, .Window = p, .Screen = {1, 1}});
  b.DestroyNativeWindow(p);
  EXPECT_EQ(b.Window(p), nullptr);
  EXPECT_EQ(b.PendingEvents(), 0u) << "input for a destroyed window is dropped";
  b.ShowNativeWindow(p, true, true);  // unknown ids are ignored
  EXPECT_EQ(b.Windows(), std::vector<NativeWindowId>{a});
}

TEST(Headless, IsTheDefaultBackend) {
  SetBackend(nullptr);
  ASSERT_NE(Headless(), nullptr);
  Headless()->Advance(7);
  EXPECT_EQ(CurrentBackend().Now(), 7u);
  SetBackend(nullptr);
  EXPECT_EQ(CurrentBackend().Now(), 0u) << "a fresh backend starts a fresh clock";
}

}  // namespace
