#pragma once
// The small geometry types. Angles are in degrees with 0 along +y and 90 along
// +x: the unit vector at angle a is (sin a, cos a).

struct vec2d {
  float x = 0, y = 0;
  float span = 0;       // cached length, written only by length()
  float angle = 0;      // [0, 360), written by get_angle()
  float rangle = 0;     // unwrapped angle, written by get_rangle()
  float angle_cnt = 0;  // whole turns added to angle to give rangle

  static vec2d Create(float x, float y) { return vec2d{x, y}; }

  void normalize();
  void rotcw() { *this = with_xy(y, -x); }
  void rotccw() { *this = with_xy(-y, x); }
  void scale(float f) {
    x *= f;
    y *= f;
  }
  float dot(const vec2d& v) const { return x * v.x + y * v.y; }
  float length();
  void get_angle();
  // Keeps rangle within 180 degrees of its previous value by counting turns.
  void get_rangle();
  void set_angle();
  void set_angle_len();
  void set_rangle();
  void set_rangle_len();
  // Copies x, y, angle and rangle; span and angle_cnt stay this vector's own.
  void set_v(const vec2d& v);
  void set_xy(float a, float b) {
    x = a;
    y = b;
  }
  void set(float f);

  // These return new vectors; the receiver is untouched.
  vec2d addv(const vec2d& v) const { return Create(x + v.x, y + v.y); }
  vec2d add(float f) const { return Create(x + f, y + f); }
  vec2d addxy(float a, float b) const { return Create(x + a, y + b); }
  vec2d subv(const vec2d& v) const { return Create(x - v.x, y - v.y); }
  vec2d sub(float f) const { return Create(x - f, y - f); }
  vec2d subxy(float a, float b) const { return Create(x - a, y - b); }
  vec2d mul(float f) const { return Create(x * f, y * f); }
  vec2d mulv(const vec2d& v) const { return Create(x * v.x, y * v.y); }

 private:
  vec2d with_xy(float a, float b) const {
    vec2d r = *this;
    r.x = a;
    r.y = b;
    return r;
  }
};

struct vec3d {
  float x = 0, y = 0, z = 0;
  float angle = 0, rangle = 0, angle_cnt = 0;  // of the (x, y) part

  static vec3d Create(float x, float y, float z) { return vec3d{x, y, z}; }

  void normalize();
  void scale(float f) {
    x *= f;
    y *= f;
    z *= f;
  }
  float length() const;
  void get_angle();
  void get_rangle();
  vec3d addv(const vec3d& v) const { return Create(x + v.x, y + v.y, z + v.z); }
  vec3d subv(const vec3d& v) const { return Create(x - v.x, y - v.y, z - v.z); }
  vec3d add(float f) const { return Create(x + f, y + f, z + f); }
  vec3d sub(float f) const { return Create(x - f, y - f, z - f); }
};

// A point that remembers its position one update ago. The owner copies p into
// op before moving p.
struct corner {
  vec2d p, op;

  static corner Create(const vec2d& v) { return corner{vec2d::Create(v.x, v.y), vec2d::Create(v.x, v.y)}; }
  // Velocity in texture units per update, both axes scaled by the width of
  // the canvas (in pixels); y is flipped to point up as texture space does.
  float velx(int canvas_width) const;
  float vely(int canvas_width) const;
};
