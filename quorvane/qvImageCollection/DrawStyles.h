// TqvImageDrawStyle: where an image of an image collection goes in the target rectangle,
// and the placements each style makes.
#pragma once

#include <functional>

#include "gdi/Types.h"

// The values are stored with the items, so their order is fixed.
enum TqvImageDrawStyle {
  idsTile,
  idsStretch,
  idsCenter,
  idsTopLeft,
  idsTopRight,
  idsBottomLeft,
  idsBottomRight,
  idsTopTile,
  idsLeftTile,
  idsRightTile,
  idsBottomTile,
  idsTopStretch,
  idsLeftStretch,
  idsRightStretch,
  idsBottomStretch,
  idsHorzStretchTile,
  idsVertStretchTile,
  idsHorzCenterStretch,
  idsVertCenterStretch,
  idsLeftCenter,
  idsTopCenter,
  idsRightCenter,
  idsBottomCenter,
};

// One place of the image: at its own size (Rect is W x H) or stretched into Rect.
struct TqvImagePlacement {
  TRect Rect;
  bool Stretched = false;
};

// The distance from one tile to the next: the image size plus the extra gap. A gap of
// minus the size would put every tile in one place (and count them by dividing by 0), so
// it counts as no gap. A step past every rectangle is capped at 2^29 (one tile all the same).
int ImageTileStep(int Size, int Offset);

// Calls Place for every placement of a W x H image in R by the style, tiles column by
// column (overlapping tiles of a negative gap lie in that order). Tiles run one past the
// last whole tile, so the last row and column may reach past R.
void EnumImagePlacements(TqvImageDrawStyle Style, const TRect& R, int W, int H, int TileOffsetX, int TileOffsetY,
                         const std::function<void(const TqvImagePlacement&)>& Place);
