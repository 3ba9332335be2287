// The framework's Buttons unit: what buttons with an image share.
#pragma once

// Where the image sits relative to the caption.
enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
