#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <vector>

#include "backend/Headless.h"
#include "gdi/Gdi.h"
#include "win/Paint.h"
#include "win/Queue.h"
#include "win/Window.h"

namespace {

// Records the messages the windows of a test receive, lets a test answer some of them
// itself, and passes the rest to DefWindowProc.
struct Recorder {
  struct Entry {
    HWND Window;
    UINT Msg;
  };
  std::vector<Entry> Log;
  std::map<HWND, std::function<bool(UINT, WPARAM, LPARAM, LRESULT*)>> Handlers;
  std::map<HWND, COLORREF> PaintColor;

  static Recorder*& Current() {
    static Recorder* r = nullptr;
    return r;
  }

  static LRESULT Proc(HWND hwnd, UINT msg, WPARAM w, LPARAM l) {
    Recorder* r = Current();
    if (r) {
      r->Log.push_back({hwnd, msg});
      auto it = r->Handlers.find(hwnd);
      LRESULT result = 0;
      if (it != r->Handlers.end() && it->second(msg, w, l, &result)) return result;
      if (msg == WM_PAINT && r->PaintColor.count(hwnd)) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        HBRUSH b = CreateSolidBrush(r->PaintColor[hwnd]);
        RECT all;
        GetClientRect(hwnd, &all);
        FillRect(dc, &all, b);
        DeleteObject(b);
        EndPaint(hwnd, &ps);
        return 0;
      }
    }
    return DefWindowProc(hwnd, msg, w, l);
  }

  // The messages of interest that one window got, in order.
  std::vector<UINT> Of(HWND hwnd, std::initializer_list<UINT> interesting) const {
    std::vector<UINT> out;
    for (const Entry& e : Log)
      if (e.Window == hwnd && std::find(interesting.begin(), interesting.end(), e.Msg) != interesting.end())
        out.push_back(e.Msg);
    return out;
  }
  int Count(HWND hwnd, UINT msg) const {
    return int(std::count_if(Log.begin(), Log.end(), [&](const Entry& e) { return e.Window == hwnd && e.Msg == msg; }));
  }
};

class WindowTest : public ::testing::Test {
 protected:
  Recorder Rec;

  void SetUp() override {
    SetBackend(nullptr);
    Recorder::Current() = &Rec;
    WNDCLASS wc;
    wc.lpfnWndProc = Recorder::Proc;
    wc.lpszClassName = "TestWindow";
    wc.hbrBackground = reinterpret_cast<HBRUSH>(intptr_t(COLOR_WINDOW + 1));
    ASSERT_NE(RegisterClass(&wc), 0);
  }
  void TearDown() override {
    ResetWindowSystem();
    Recorder::Current() = nullptr;
  }

  HWND TopLevel(int x, int y, int w, int h, DWORD style = WS_POPUP) {
    return CreateWindowEx(0, "TestWindow", "top", style, x, y, w, h, nullptr, nullptr, nullptr, nullptr);
  }
  HWND Child(HWND parent, int x, int y, int w, int h, DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS) {
    return CreateWindowEx(0, "TestWindow", "child", style, x, y, w, h, parent, nullptr, nullptr, nullptr);
  }
  // What the top-level window's surface holds at a point.
  static COLORREF SurfaceColor(HWND top, int x, int y) { return ColorRefFromPixel(top->Pixels->At(x, y)); }
};

TEST_F(WindowTest, CreateShowMoveSizeAndDestroySendMessagesInOrder) {
  HWND top = TopLevel(10, 10, 200, 100);
  ASSERT_NE(top, nullptr);
  EXPECT_EQ(Rec.Of(top, {WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE, WM_SIZE, WM_MOVE}),
            (std::vector<UINT>{WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE, WM_SIZE, WM_MOVE}));
  HWND child = Child(top, 5, 5, 50, 20);
  EXPECT_EQ(Rec.Count(top, WM_PARENTNOTIFY), 1);
  Rec.Log.clear();
  ShowWindow(top, SW_SHOW);
  EXPECT_EQ(Rec.Of(top, {WM_SHOWWINDOW, WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED}),
            (std::vector<UINT>{WM_SHOWWINDOW, WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED}));
  Rec.Log.clear();
  SetWindowPos(child, nullptr, 7, 8, 60, 30, SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_EQ(Rec.Of(child, {WM_WINDOWPOSCHANGING, WM_NCCALCSIZE, WM_WINDOWPOSCHANGED, WM_MOVE, WM_SIZE}),
            (std::vector<UINT>{WM_WINDOWPOSCHANGING, WM_NCCALCSIZE, WM_WINDOWPOSCHANGED, WM_MOVE, WM_SIZE}));
  Rec.Log.clear();
  SetWindowPos(child, nullptr, 9, 9, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_EQ(Rec.Count(child, WM_MOVE), 1);
  EXPECT_EQ(Rec.Count(child, WM_SIZE), 0) << "a move alone does not resize";
  Rec.Log.clear();
  DestroyWindow(top);
  // Parent hears WM_DESTROY first; the child is gone before the parent's WM_NCDESTROY.
  std::vector<std::pair<HWND, UINT>> order;
  for (const auto& e : Rec.Log)
    if (e.Msg == WM_DESTROY || e.Msg == WM_NCDESTROY) order.push_back({e.Window, e.Msg});
  EXPECT_EQ(order, (std::vector<std::pair<HWND, UINT>>{
                       {top, WM_DESTROY}, {child, WM_DESTROY}, {child, WM_NCDESTROY}, {top, WM_NCDESTROY}}));
  EXPECT_FALSE(IsWindow(top));
  EXPECT_FALSE(IsWindow(child));
}

TEST_F(WindowTest, CreateFailsCleanlyWhenTheWindowRefuses) {
  Recorder::Current() = &Rec;
  WNDCLASS wc;
  wc.lpfnWndProc = [](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
    return m == WM_CREATE ? -1 : DefWindowProc(h, m, w, l);
  };
  wc.lpszClassName = "Refuses";
  RegisterClass(&wc);
  EXPECT_EQ(CreateWindowEx(0, "Refuses", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr), nullptr);
  EXPECT_TRUE(TopLevelWindows().empty());
  EXPECT_EQ(CreateWindowEx(0, "NoSuchClass", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr), nullptr);
  EXPECT_EQ(CreateWindowEx(0, "TestWindow", "", WS_CHILD, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr), nullptr)
      << "a child needs a parent";
}

TEST_F(WindowTest, GeometryMapsThroughParentsAndFrames) {
  HWND top = TopLevel(100, 50, 300, 200, WS_POPUP | WS_BORDER);
  HWND child = Child(top, 10, 20, 100, 80);
  HWND grandchild = Child(child, 5, 6, 30, 30);
  RECT r;
  GetWindowRect(grandchild, &r);
  // top's client starts 1 px in (WS_BORDER): 100+1+10+5, 50+1+20+6.
  EXPECT_EQ(r, (RECT{116, 77, 146, 107}));
  POINT p{0, 0};
  ClientToScreen(grandchild, &p);
  EXPECT_EQ(p, (POINT{116, 77}));
  ScreenToClient(top, &p);
  EXPECT_EQ(p, (POINT{15, 26}));
  POINT pts[1] = {{1, 1}};
  MapWindowPoints(grandchild, child, pts, 1);
  EXPECT_EQ(pts[0], (POINT{6, 7}));
  GetClientRect(top, &r);
  EXPECT_EQ(r, (RECT{0, 0, 298, 198}));
  EXPECT_EQ(ClientRectInTopLevel(grandchild), (RECT{16, 27, 46, 57}));
}

TEST_F(WindowTest, ZOrderAndTreeQueries) {
  HWND top = TopLevel(0, 0, 100, 100);
  HWND a = Child(top, 0, 0, 10, 10);
  HWND b = Child(top, 0, 0, 10, 10);
  HWND c = Child(top, 0, 0, 10, 10);
  // Newest on top.
  EXPECT_EQ(GetWindow(top, GW_CHILD), c);
  EXPECT_EQ(GetWindow(c, GW_HWNDNEXT), b);
  SetWindowPos(a, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  EXPECT_EQ(GetWindow(top, GW_CHILD), a);
  SetWindowPos(a, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  EXPECT_EQ(GetWindow(top, GW_HWNDLAST), top) << "GW_HWNDLAST looks among the window's own siblings";
  EXPECT_EQ(GetWindow(c, GW_HWNDLAST), a);
  SetWindowPos(a, c, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  EXPECT_EQ(GetWindow(c, GW_HWNDNEXT), a);
  EXPECT_TRUE(IsChild(top, a));
  EXPECT_FALSE(IsChild(a, top));
  EXPECT_EQ(GetAncestor(a, GA_ROOT), top);
  EXPECT_EQ(GetParent(a), top);
  HWND owned = CreateWindowEx(0, "TestWindow", "", WS_POPUP, 0, 0, 5, 5, a, nullptr, nullptr, nullptr);
  EXPECT_EQ(GetWindow(owned, GW_OWNER), top) << "the owner of a top-level window is top-level";
  EXPECT_EQ(SetParent(top, a), nullptr) << "a window cannot go inside its own child";
}

TEST_F(WindowTest, WindowFromPointSkipsHiddenDisabledAndTransparent) {
  HWND top = TopLevel(0, 0, 100, 100, WS_POPUP | WS_VISIBLE);
  HWND under = Child(top, 10, 10, 50, 50);
  HWND over = Child(top, 20, 20, 50, 50);
  EXPECT_EQ(WindowFromPoint({30, 30}), over);
  EXPECT_EQ(WindowFromPoint({15, 15}), under);
  EXPECT_EQ(WindowFromPoint({5, 5}), top);
  EXPECT_EQ(WindowFromPoint({500, 500}), nullptr);
  Rec.Handlers[over] = [](UINT m, WPARAM, LPARAM, LRESULT* r) {
    if (m != WM_NCHITTEST) return false;
    *r = HTTRANSPARENT;
    return true;
  };
  EXPECT_EQ(WindowFromPoint({30, 30}), under) << "HTTRANSPARENT lets the point through";
  Rec.Handlers.erase(over);
  EnableWindow(over, FALSE);
  EXPECT_EQ(WindowFromPoint({30, 30}), under);
  EnableWindow(over, TRUE);
  ShowWindow(over, SW_HIDE);
  EXPECT_EQ(WindowFromPoint({30, 30}), under);
  EXPECT_EQ(WindowFromPoint({65, 65}), top);
  EXPECT_EQ(ChildWindowFromPointEx(top, {65, 65}, CWP_ALL), over);
  EXPECT_EQ(ChildWindowFromPointEx(top, {65, 65}, CWP_SKIPINVISIBLE), top);
  EXPECT_EQ(ChildWindowFromPointEx(top, {150, 5}, CWP_ALL), nullptr);
}

TEST_F(WindowTest, SeveralInvalidationsGiveOnePaint) {
  HWND top = TopLevel(0, 0, 100, 100, WS_POPUP | WS_VISIBLE);
  Rec.PaintColor[top] = RGB(255, 0, 0);
  PaintPending(nullptr);
  Rec.Log.clear();
  RECT a{0, 0, 10, 10}, b{50, 50, 60, 60};
  InvalidateRect(top, &a, TRUE);
  InvalidateRect(top, &b, FALSE);
  InvalidateRect(top, &a, TRUE);
  RECT box;
  EXPECT_TRUE(GetUpdateRect(top, &box, FALSE));
  EXPECT_EQ(box, (RECT{0, 0, 60, 60}));
  PaintPending(nullptr);
  EXPECT_EQ(Rec.Count(top, WM_PAINT), 1);
  EXPECT_EQ(Rec.Count(top, WM_ERASEBKGND), 1);
  EXPECT_FALSE(GetUpdateRect(top, &box, FALSE));
  EXPECT_EQ(NextWindowToPaint(nullptr), nullptr);
}

TEST_F(WindowTest, PaintIsClippedBySiblingsAndChildren) {
  HWND top = TopLevel(0, 0, 60, 40, WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN);
  HWND lower = Child(top, 0, 0, 30, 30);
  HWND upper = Child(top, 20, 10, 30, 20);
  Rec.PaintColor[top] = RGB(0, 0, 255);
  Rec.PaintColor[lower] = RGB(255, 0, 0);
  Rec.PaintColor[upper] = RGB(0, 255, 0);
  PaintPending(nullptr);
  EXPECT_EQ(SurfaceColor(top, 25, 15), RGB(0, 255, 0)) << "the upper sibling wins where they overlap";
  EXPECT_EQ(SurfaceColor(top, 5, 5), RGB(255, 0, 0));
  EXPECT_EQ(SurfaceColor(top, 55, 35), RGB(0, 0, 255));
  // Repainting the lower one alone must not draw over its higher sibling.
  InvalidateRect(lower, nullptr, TRUE);
  Rec.PaintColor[lower] = RGB(255, 255, 0);
  PaintPending(nullptr);
  EXPECT_EQ(SurfaceColor(top, 25, 15), RGB(0, 255, 0));
  EXPECT_EQ(SurfaceColor(top, 5, 5), RGB(255, 255, 0));
  // The parent clips its children out; without WS_CLIPCHILDREN it paints over them,
  // and the children are then repainted after it.
  Rec.Log.clear();
  InvalidateRect(top, nullptr, TRUE);
  PaintPending(nullptr);
  EXPECT_EQ(Rec.Count(lower, WM_PAINT), 0);
  EXPECT_EQ(SurfaceColor(top, 5, 5), RGB(255, 255, 0));
  SetWindowLongPtr(top, GWL_STYLE, GetWindowLongPtr(top, GWL_STYLE) & ~intptr_t(WS_CLIPCHILDREN));
  Rec.Log.clear();
  InvalidateRect(top, nullptr, TRUE);
  PaintPending(nullptr);
  EXPECT_EQ(Rec.Count(lower, WM_PAINT), 1);
  EXPECT_EQ(SurfaceColor(top, 5, 5), RGB(255, 255, 0));
}

TEST_F(WindowTest, HidingAChildRepaintsWhatItCovered) {
  HWND top = TopLevel(0, 0, 60, 40, WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN);
  HWND child = Child(top, 10, 10, 20, 20);
  Rec.PaintColor[top] = RGB(0, 0, 255);
  Rec.PaintColor[child] = RGB(255, 0, 0);
  PaintPending(nullptr);
  EXPECT_EQ(SurfaceColor(top, 15, 15), RGB(255, 0, 0));
  ShowWindow(child, SW_HIDE);
  PaintPending(nullptr);
  EXPECT_EQ(SurfaceColor(top, 15, 15), RGB(0, 0, 255));
  ShowWindow(child, SW_SHOW);
  SetWindowPos(child, nullptr, 30, 10, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  PaintPending(nullptr);
  EXPECT_EQ(SurfaceColor(top, 15, 15), RGB(0, 0, 255));
  EXPECT_EQ(SurfaceColor(top, 35, 15), RGB(255, 0, 0));
}

TEST_F(WindowTest, PresentSendsOnlyWhatChanged) {
  HWND top = TopLevel(0, 0, 40, 30, WS_POPUP | WS_VISIBLE);
  Rec.PaintColor[top] = RGB(255, 0, 0);
  PaintPending(nullptr);
  PresentChanges();
  const auto* screen = Headless()->Window(top->Native);
  ASSERT_NE(screen, nullptr);
  EXPECT_EQ(ColorRefFromPixel(screen->Screen->At(20, 20)), RGB(255, 0, 0));
  const int presents = screen->PresentCount;
  PresentChanges();
  EXPECT_EQ(screen->PresentCount, presents) << "nothing changed, nothing sent";
  HDC dc = GetDC(top);
  SetPixel(dc, 1, 1, RGB(0, 255, 0));
  ReleaseDC(top, dc);
  PresentChanges();
  EXPECT_EQ(ColorRefFromPixel(screen->Screen->At(1, 1)), RGB(0, 255, 0));
}

TEST_F(WindowTest, SetRedrawOffSuppressesPaint) {
  HWND top = TopLevel(0, 0, 40, 30, WS_POPUP | WS_VISIBLE);
  Rec.PaintColor[top] = RGB(255, 0, 0);
  PaintPending(nullptr);
  SendMessage(top, WM_SETREDRAW, FALSE, 0);
  Rec.Log.clear();
  InvalidateRect(top, nullptr, TRUE);
  PaintPending(nullptr);
  EXPECT_EQ(Rec.Count(top, WM_PAINT), 0);
  SendMessage(top, WM_SETREDRAW, TRUE, 0);
  PaintPending(nullptr);
  EXPECT_EQ(Rec.Count(top, WM_PAINT), 1);
}

TEST_F(WindowTest, ScrollWindowMovesPixelsAndInvalidatesTheRest) {
  HWND top = TopLevel(0, 0, 40, 30, WS_POPUP | WS_VISIBLE);
  Rec.PaintColor[top] = RGB(255, 255, 255);
  PaintPending(nullptr);
  HDC dc = GetDC(top);
  SetPixel(dc, 5, 10, RGB(255, 0, 0));
  ReleaseDC(top, dc);
  HRGN update = CreateRectRgn(0, 0, 0, 0);
  RECT box;
  EXPECT_EQ(ScrollWindowEx(top, 0, 10, nullptr, nullptr, update, &box, SW_INVALIDATE), SIMPLEREGION);
  EXPECT_EQ(SurfaceColor(top, 5, 20), RGB(255, 0, 0));
  EXPECT_EQ(box, (RECT{0, 0, 40, 10}));
  EXPECT_TRUE(GetUpdateRect(top, &box, FALSE));
  EXPECT_EQ(box, (RECT{0, 0, 40, 10}));
  DeleteObject(update);
}

TEST_F(WindowTest, ScrollWindowMovesChildrenOnlyWhenAskedAndWithinTheArea) {
  HWND top = TopLevel(0, 0, 100, 100, WS_POPUP | WS_VISIBLE);
  HWND a = Child(top, 10, 10, 20, 20);
  HWND b = Child(top, 60, 60, 20, 20);
  auto place = [](HWND w) {
    RECT r{};
    GetWindowRect(w, &r);
    return r.TopLeft();
  };
  struct Case {
    const char* name;
    const RECT* area;
    UINT flags;
    POINT a, b;
    bool repaint;
  };
  const RECT left{0, 0, 50, 100};
  // Moved children repaint where they land and leave their old places to the parent.
  const Case cases[] = {
      {"pixels only", nullptr, 0, {10, 10}, {60, 60}, false},
      {"pixels, uncovered strip invalid", nullptr, SW_INVALIDATE, {10, 10}, {60, 60}, true},
      {"all children", nullptr, SW_SCROLLCHILDREN, {15, 7}, {65, 57}, true},
      {"children in the area", &left, SW_SCROLLCHILDREN | SW_ERASE, {15, 7}, {60, 60}, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetWindowPos(a, nullptr, 10, 10, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    SetWindowPos(b, nullptr, 60, 60, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    PaintPending(nullptr);
    EXPECT_NE(ScrollWindowEx(top, 5, -3, c.area, nullptr, nullptr, nullptr, c.flags), ERROR_REGION);
    EXPECT_EQ(place(a), c.a);
    EXPECT_EQ(place(b), c.b);
    RECT update{};
    EXPECT_EQ(GetUpdateRect(top, &update, FALSE) != FALSE, c.repaint);
    if (c.flags & SW_SCROLLCHILDREN) {
      EXPECT_LE(update.Top, 10);  // a's old place
    } else if (c.repaint) {
      EXPECT_EQ(update.Bottom, 100);  // down to the strip the scroll uncovered
    }
  }
  // A dead window scrolls nothing.
  EXPECT_EQ(ScrollWindowEx(nullptr, 1, 1, nullptr, nullptr, nullptr, nullptr, SW_SCROLLCHILDREN), ERROR_REGION);
}

TEST_F(WindowTest, MinimiseRestoreAndMaximise) {
  HWND top = TopLevel(10, 10, 200, 100, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  ShowWindow(top, SW_MINIMIZE);
  EXPECT_TRUE(IsIconic(top));
  EXPECT_FALSE(Headless()->Window(top->Native)->Visible);
  ShowWindow(top, SW_RESTORE);
  EXPECT_FALSE(IsIconic(top));
  RECT r;
  GetWindowRect(top, &r);
  EXPECT_EQ(r, (RECT{10, 10, 210, 110}));
  ShowWindow(top, SW_MAXIMIZE);
  EXPECT_TRUE(IsZoomed(top));
  GetWindowRect(top, &r);
  EXPECT_EQ(r, Headless()->WorkArea());
  ShowWindow(top, SW_RESTORE);
  GetWindowRect(top, &r);
  EXPECT_EQ(r, (RECT{10, 10, 210, 110}));
}

TEST_F(WindowTest, StaleHandlesAreRefused) {
  HWND top = TopLevel(0, 0, 10, 10);
  DestroyWindow(top);
  EXPECT_FALSE(IsWindow(top));
  EXPECT_EQ(SendMessage(top, WM_USER, 0, 0), 0);
  EXPECT_FALSE(SetWindowPos(top, nullptr, 0, 0, 1, 1, 0));
  EXPECT_FALSE(DestroyWindow(top));
  RECT r;
  EXPECT_FALSE(GetWindowRect(top, &r));
  EXPECT_EQ(GetDC(top), nullptr);
}

}  // namespace
