#pragma once
// Little-endian fields in order, as every binary block of the program stores
// them: bytes, 32-bit ints and IEEE single floats.
#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <string_view>
#include <vector>

namespace io {

static_assert(std::endian::native == std::endian::little, "files store numbers little-endian");

class ByteWriter {
 public:
  std::vector<uint8_t> bytes;
  void u8(uint8_t v) { bytes.push_back(v); }
  void i32(int32_t v) { raw(&v, 4); }
  void f32(float v) { raw(&v, 4); }
  void floats(const float* v, std::size_t n) { raw(v, n * sizeof(float)); }
  void text(std::string_view s) { raw(s.data(), s.size()); }
  void raw(const void* p, std::size_t n) {
    auto* b = static_cast<const uint8_t*>(p);
    bytes.insert(bytes.end(), b, b + n);
  }
};

// Reads fields in order; once a read runs past the end every later read
// fails too, so a caller checks ok() once after a group of fields.
class ByteReader {
 public:
  explicit ByteReader(std::span<const uint8_t> data) : data_(data) {}
  bool ok() const { return ok_; }
  std::size_t left() const { return ok_ ? data_.size() - at_ : 0; }
  // Every float read so far was a finite number.
  bool finite() const { return finite_; }

  uint8_t u8() {
    uint8_t v = 0;
    raw(&v, 1);
    return v;
  }
  int32_t i32() {
    int32_t v = 0;
    raw(&v, 4);
    return v;
  }
  float f32() {
    float v = 0;
    raw(&v, 4);
    if (!std::isfinite(v)) finite_ = false;
    return v;
  }
  void floats(float* v, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i) v[i] = f32();
  }
  void raw(void* p, std::size_t n) {
    if (!ok_ || n > data_.size() - at_) {
      ok_ = false;
      return;
    }
    std::memcpy(p, data_.data() + at_, n);
    at_ += n;
  }
  // The next `n` bytes as a view, or an empty view past the end.
  std::span<const uint8_t> take(std::size_t n) {
    if (!ok_ || n > data_.size() - at_) {
      ok_ = false;
      return {};
    }
    at_ += n;
    return data_.subspan(at_ - n, n);
  }

 private:
  std::span<const uint8_t> data_;
  std::size_t at_ = 0;
  bool ok_ = true, finite_ = true;
};

}  // namespace io
