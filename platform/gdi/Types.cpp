#include "Types.h"

#include <algorithm>

BOOL SetRect(RECT* r, int left, int top, int right, int bottom) {
  if (!r) return FALSE;
  *r = {left, top, right, bottom};
  return TRUE;
}

BOOL SetRectEmpty(RECT* r) { return SetRect(r, 0, 0, 0, 0); }

BOOL CopyRect(RECT* dst, const RECT* src) {
  if (!dst || !src) return FALSE;
  *dst = *src;
  return TRUE;
}

BOOL IsRectEmpty(const RECT* r) { return !r || r->IsEmpty(); }

BOOL PtInRect(const RECT* r, POINT p) { return r && r->Contains(p); }

BOOL OffsetRect(RECT* r, int dx, int dy) {
  if (!r) return FALSE;
  r->Left += dx;
  r->Right += dx;
  r->Top += dy;
  r->Bottom += dy;
  return TRUE;
}

BOOL InflateRect(RECT* r, int dx, int dy) {
  if (!r) return FALSE;
  r->Left -= dx;
  r->Right += dx;
  r->Top -= dy;
  r->Bottom += dy;
  return TRUE;
}

BOOL IntersectRect(RECT* dst, const RECT* a, const RECT* b) {
  if (!dst || !a || !b) return FALSE;
  const RECT r{std::max(a->Left, b->Left), std::max(a->Top, b->Top), std::min(a->Right, b->Right),
               std::min(a->Bottom, b->Bottom)};
  if (r.IsEmpty()) {
    *dst = {};
    return FALSE;
  }
  *dst = r;
  return TRUE;
}

BOOL UnionRect(RECT* dst, const RECT* a, const RECT* b) {
  if (!dst || !a || !b) return FALSE;
  if (a->IsEmpty() && b->IsEmpty()) {
    *dst = {};
    return FALSE;
  }
  if (a->IsEmpty()) {
    *dst = *b;
  } else if (b->IsEmpty()) {
    *dst = *a;
  } else {
    *dst = {std::min(a->Left, b->Left), std::min(a->Top, b->Top), std::max(a->Right, b->Right),
            std::max(a->Bottom, b->Bottom)};
  }
  return TRUE;
}

BOOL EqualRect(const RECT* a, const RECT* b) { return a && b && *a == *b; }
