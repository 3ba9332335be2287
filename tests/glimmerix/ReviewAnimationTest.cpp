// The image properties of the animation component when one image moves between them: the
// animation owns its two pictures, so handing it a picture it already holds moves it and
// frees nothing.
#include <gtest/gtest.h>

#include <memory>

#include "gx_ani.h"

namespace {

// Tells when it is freed.
class TReviewTrackedBitmap : public TgxBitmap {
  QV_CLASS(TReviewTrackedBitmap, TgxBitmap)
  TReviewTrackedBitmap(uint32_t Pixel, bool* Freed) : FFreed(Freed) {
    SetSize(4, 3);
    Clear(Pixel);
  }
  ~TReviewTrackedBitmap() override { *FFreed = true; }

 private:
  bool* FFreed;
};

TEST(ReviewAnimationImages, TheSourceImageGivenAsDestinationMovesThereAndStaysAlive) {
  bool freed = false;
  auto anim = std::make_unique<TgxAnimation>(nullptr);
  auto* image = new TReviewTrackedBitmap(0x80102030u, &freed);
  anim->SetSourceImage(image);
  anim->SetDestImage(image);
  EXPECT_FALSE(freed);
  EXPECT_EQ(anim->SourceImage(), nullptr);
  ASSERT_EQ(anim->DestImage(), image);
  // The setter made it opaque; its pixels are still there.
  EXPECT_EQ(image->GetPixel(3, 2), 0xFF102030u);
  anim.reset();
  EXPECT_TRUE(freed);
}

TEST(ReviewAnimationImages, TheDestinationImageGivenAsSourceMovesThereAndStaysAlive) {
  bool freed = false;
  auto anim = std::make_unique<TgxAnimation>(nullptr);
  auto* image = new TReviewTrackedBitmap(0x80405060u, &freed);
  anim->SetDestImage(image);
  anim->SetSourceImage(image);
  EXPECT_FALSE(freed);
  EXPECT_EQ(anim->DestImage(), nullptr);
  ASSERT_EQ(anim->SourceImage(), image);
  EXPECT_EQ(image->GetPixel(0, 0), 0xFF405060u);
  anim.reset();
  EXPECT_TRUE(freed);
}

}  // namespace
