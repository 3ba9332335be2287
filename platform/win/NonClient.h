// The non-client area of windows: where frame, caption, caption buttons, menu bar and
// frame scroll bars lie, what a point hits, how they look in the plain light style, and
// the mouse loops that move and size windows and press caption buttons.
//
// Layout and hit testing follow the window's styles; drawing is kept apart so that a
// style engine can take it over, by answering WM_NCPAINT itself or through the painter
// hooks below (this layer cannot know the style engine).
#pragma once

#include <functional>

#include "win/ScrollBars.h"

// WM_SIZING edges.
constexpr WPARAM WMSZ_LEFT = 1;
constexpr WPARAM WMSZ_RIGHT = 2;
constexpr WPARAM WMSZ_TOP = 3;
constexpr WPARAM WMSZ_TOPLEFT = 4;
constexpr WPARAM WMSZ_TOPRIGHT = 5;
constexpr WPARAM WMSZ_BOTTOM = 6;
constexpr WPARAM WMSZ_BOTTOMLEFT = 7;
constexpr WPARAM WMSZ_BOTTOMRIGHT = 8;

// Colours of the plain light look.
namespace ncstyle {
constexpr COLORREF kCaption = RGB(0xFF, 0xFF, 0xFF);  // caption and frame, active or not
constexpr COLORREF kCaptionText = RGB(0x00, 0x00, 0x00);
constexpr COLORREF kCaptionTextInactive = RGB(0x99, 0x99, 0x99);
constexpr COLORREF kBorderActive = RGB(0x00, 0x78, 0xD7);
constexpr COLORREF kBorderInactive = RGB(0xAD, 0xAD, 0xAD);
constexpr COLORREF kBorderFlat = RGB(0xAD, 0xAD, 0xAD);  // WS_BORDER of popups and children
constexpr COLORREF kButtonHot = RGB(0xE5, 0xE5, 0xE5);
constexpr COLORREF kButtonPressed = RGB(0xCC, 0xCC, 0xCC);
constexpr COLORREF kCloseHot = RGB(0xE8, 0x11, 0x23);
constexpr COLORREF kClosePressed = RGB(0xF1, 0x70, 0x7A);
constexpr COLORREF kGlyphDisabled = RGB(0xCC, 0xCC, 0xCC);
// Scroll bars.
constexpr COLORREF kScrollTrack = RGB(0xF0, 0xF0, 0xF0);
constexpr COLORREF kScrollThumb = RGB(0xCD, 0xCD, 0xCD);
constexpr COLORREF kScrollThumbHot = RGB(0xA6, 0xA6, 0xA6);
constexpr COLORREF kScrollThumbPressed = RGB(0x60, 0x60, 0x60);
constexpr COLORREF kScrollArrow = RGB(0x60, 0x60, 0x60);
constexpr COLORREF kScrollArrowHot = RGB(0xDA, 0xDA, 0xDA);  // button face under the mouse
constexpr COLORREF kScrollArrowPressed = RGB(0x60, 0x60, 0x60);
constexpr COLORREF kScrollArrowDisabled = RGB(0xBF, 0xBF, 0xBF);
}  // namespace ncstyle

// Where the parts of a window's non-client area lie, in window coordinates (0, 0 is the
// window's top-left corner). A part the window does not show is an empty rectangle.
struct NonClientLayout {
  RECT Window{};
  RECT Client{};
  RECT Caption{};
  RECT CaptionText{};  // where the title goes, between the icon space and the buttons
  RECT SysMenu{};      // the icon space at the caption's left
  RECT MinButton{};
  RECT MaxButton{};
  RECT CloseButton{};
  RECT HelpButton{};
  RECT MenuBar{};
  RECT EdgeRect{};  // outside of the client edge (WS_EX_CLIENTEDGE / WS_EX_STATICEDGE)
  RECT VScroll{};
  RECT HScroll{};
  RECT SizeGrip{};  // the box between both scroll bars
  int Border = 0;   // frame thickness on every side
  int Edge = 0;     // client edge thickness
  bool Sizable = false;  // sizing borders: WS_THICKFRAME, neither minimised nor maximised
  bool MinEnabled = false;
  bool MaxEnabled = false;
  bool CloseEnabled = false;
  bool RestoreOnMin = false;  // the minimise button shows the restore glyph
  bool RestoreOnMax = false;  // the maximise button shows the restore glyph
};

// The layout for a window of the given styles and size, its client area being what the
// frame leaves (the rule of WM_NCCALCSIZE).
NonClientLayout ComputeNonClientLayout(DWORD style, DWORD exStyle, bool menuBar, int width, int height);
// The layout of a live window as it is: scroll bars beside the client area that
// WM_NCCALCSIZE gave it. Empty for a dead handle.
NonClientLayout NonClientLayoutOf(HWND hwnd);
// WM_NCCALCSIZE's answer: the client rectangle within a window rectangle (same coordinates).
RECT DefaultClientRect(HWND hwnd, const RECT& window);
// WM_NCHITTEST's answer for a point in window coordinates.
int NonClientHitTest(HWND hwnd, POINT windowPoint);
// A caption button's rectangle (HTCLOSE, HTMINBUTTON, HTMAXBUTTON, HTHELP; empty for
// other codes and buttons the window lacks) and whether it can be pressed.
RECT CaptionButtonRect(const NonClientLayout& l, int hit);
bool CaptionButtonEnabled(const NonClientLayout& l, int hit);

// What the default window procedure remembers of a window's non-client area.
struct NonClientState {
  int HotButton = HTNOWHERE;      // caption button under the mouse
  int PressedButton = HTNOWHERE;  // caption button held down with the mouse over it
  int ActiveFrame = -1;           // from WM_NCACTIVATE; -1 until the first one
  int HotBar = -1;                // SB_VERT / SB_HORZ under the mouse, or -1
  ScrollBarPart HotPart = sbpNone;
};
// The state of a window, made on first use; null for a dead handle.
NonClientState* NonClientStateOf(HWND hwnd);
void ForgetNonClientState(HWND hwnd);
// Whether the frame shows the active look.
bool IsFrameActive(HWND hwnd);

// A painter of the frame and caption (a style engine), asked before the plain look:
// when it answers true, the frame, caption and caption buttons are left to it (menu bar,
// client edge and scroll bars are drawn as usual). Empty: the plain look.
extern std::function<bool(HWND, HDC windowDC, const NonClientLayout&, bool active)> NonClientPainterHook;

// What a painter needs to draw one frame scroll bar.
struct ScrollBarPaintInfo {
  ScrollBarGeometry Geometry;
  RECT LineUp{}, PageUp{}, Thumb{}, PageDown{}, LineDown{};  // empty when not shown
  bool LineUpDisabled = false;
  bool LineDownDisabled = false;
  ScrollBarPart Hot = sbpNone;
  ScrollBarPart Pressed = sbpNone;  // the thumb while it is dragged
};
// A painter of frame scroll bars, asked before the plain look with bar SB_VERT or SB_HORZ;
// with SB_BOTH it is asked for the size box between both bars (info is then empty). True:
// the bar (or box) is painted.
extern std::function<bool(HWND, HDC windowDC, int bar, const RECT& barRect, const ScrollBarPaintInfo& info)>
    ScrollBarPainterHook;

// Draws the non-client area into a DC whose (0, 0) is the window's top-left corner; the
// client area is left alone.
void DrawNonClient(HWND hwnd, HDC windowDC, bool active);
// Has the window repaint its frame now (WM_NCPAINT), when it is visible and drawn.
void RedrawNonClient(HWND hwnd);
// One caption button of the plain light look: kind is HTCLOSE, HTMINBUTTON, HTMAXBUTTON
// or HTHELP; restore draws the restore glyph on a minimise or maximise button.
void DrawCaptionButton(HDC dc, const RECT& r, int kind, bool enabled, bool hot, bool pressed, bool active,
                       bool restore);
// Fills a rectangle with a colour through the DC's clip (no brush to make or free).
void FillSolidRect(HDC dc, const RECT& r, COLORREF color);
// A length at 96 pixels per inch in screen pixels.
int ScaledLength(int length96);

// A mouse loop of the window system (moving, sizing, pressing buttons, scroll bars): the
// window holds the capture, and the handler hears of pointer moves (screen coordinates),
// of the loop's timer and of how the loop ends. Everything else on the queue is
// dispatched as usual, except mouse and key input, which the loop eats.
enum class MouseLoopEvent { Move, Timer, Release, Escape, Lost };
// The timer id a loop may set on its window; its WM_TIMER goes to the handler.
constexpr uintptr_t kMouseLoopTimer = 0xFFFF0F01;
// Runs until the left button is released, Escape is pressed, the capture goes elsewhere,
// the window dies, or the handler answers false. The handler is not called once the
// window is dead. Timer events come with the last pointer position, at first the press.
void RunMouseLoop(HWND hwnd, POINT press, const std::function<bool(MouseLoopEvent, POINT screen)>& handler);

// The move loop (HTCAPTION) or the size loop (sizing border or HTGROWBOX) from a press
// at a screen point.
void MoveSizeLoop(HWND hwnd, int hit, POINT screen);
// The keyboard move (size false) or size loop of the window menu's Move and Size: arrow
// keys move the window, or the edge the first arrow picked, by kKeyboardMoveStep pixels;
// Enter or a click accepts, Escape puts the window back.
constexpr int kKeyboardMoveStep = 8;
void KeyboardMoveSizeLoop(HWND hwnd, bool size);
// Tracks a press on a caption button; on release over it sends the WM_SYSCOMMAND.
void TrackCaptionButton(HWND hwnd, int hit, POINT screen);
// The window's MINMAXINFO: defaults from the system metrics, then WM_GETMINMAXINFO.
MINMAXINFO QueryMinMaxInfo(HWND hwnd);
// Fills an empty MINMAXINFO with the defaults for a window.
void DefaultMinMaxInfo(HWND hwnd, MINMAXINFO* info);
