#include <gtest/gtest.h>

#include "ui/handle.h"

TEST(Handle, CreateRegistersAndCopySharesColour) {
  handle_list.clear();
  auto a = handle::Create(vec2d::Create(10, 20), 6);
  auto b = handle::Create(vec2d::Create(0, 0), 3);
  ASSERT_EQ(handle_list.size(), 2u);
  EXPECT_EQ((*a->col)[3], 0.5f);
  b->offset = vec2d::Create(1, 1);
  b->copy(*a);
  EXPECT_EQ(b->p.x, 10);
  EXPECT_EQ(b->size, 6);
  EXPECT_EQ(b->offset.x, 1) << "offset is not copied";
  (*a->col)[0] = 0.25f;
  EXPECT_EQ((*b->col)[0], 0.25f) << "the colour array is shared";
  a->update(2, vec2d::Create(100, 50));
  EXPECT_EQ(a->d.x, 120);
  EXPECT_EQ(a->d.y, 90);
  handle_list.clear();
}
