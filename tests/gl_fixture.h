#pragma once
// The headless GL context every GPU test shares (one per test process), and
// read-back helpers.
#include <gtest/gtest.h>

#include <vector>

#include "platform/gl.h"

// Makes the shared context current, builds the program catalogue once and
// creates a canvas of w x h with a first layer. Skips nothing: a machine
// without EGL fails the test.
void gl_canvas(int w, int h);

// Every channel of a w x h region of the texture, as floats.
std::vector<float> read_texture(GLuint tex, int w, int h, GLenum format, int channels);

class GlTest : public ::testing::Test {
 protected:
  void SetUp() override { gl_canvas(160, 90); }
};
