#include "app/icon.h"

#include <QImage>
#include <gtest/gtest.h>

namespace {

class IconTest : public ::testing::TestWithParam<int> {};

// The artwork is really drawn: an opaque tile in the middle, transparent
// corners outside its rounding.
TEST_P(IconTest, IsDrawnAtSize)
{
    const int side = GetParam();
    const QIcon icon = sonveraIcon();
    ASSERT_FALSE(icon.isNull());
    const QImage image = icon.pixmap(side, side).toImage();
    ASSERT_EQ(image.size(), QSize(side, side));
    EXPECT_EQ(qAlpha(image.pixel(side / 2, side / 2)), 255);
    EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0);
    EXPECT_EQ(qAlpha(image.pixel(side - 1, side - 1)), 0);
}

INSTANTIATE_TEST_SUITE_P(Sizes, IconTest, ::testing::Values(16, 32, 256));

} // namespace
