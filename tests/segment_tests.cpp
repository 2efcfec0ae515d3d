#include <gtest/gtest.h>
#include <zlib.h>

#include <cstring>
#include <random>
#include <string>

#include "io/segment.h"

namespace {

io::Bytes bytes_of(std::string_view s) {
  return io::Bytes(s.begin(), s.end());
}

io::Bytes segment_of(std::span<const uint8_t> block) {
  io::MemoryOutput out;
  EXPECT_TRUE(io::write_segment(out, block));
  return out.bytes;
}

// The next segment; a reader error fails the test and reads as the end.
io::Segment next(io::SegmentReader& reader, std::size_t max_length = SIZE_MAX) {
  Result<io::Segment> r = reader.read_segment(max_length);
  EXPECT_TRUE(r) << r.error().message;
  return r ? std::move(*r) : io::Segment{};
}

io::Bytes random_block(std::size_t n, unsigned seed) {
  std::mt19937 rng(seed);
  io::Bytes b(n);
  // Half noise, half runs, so that the packed size differs from the original.
  for (std::size_t i = 0; i < n; ++i) b[i] = i % 64 < 32 ? uint8_t(rng()) : uint8_t(i / 64);
  return b;
}

// A segment framed by hand around `packed`, with `size_line` as its size.
io::Bytes framed(std::string_view size_line, const io::Bytes& packed) {
  io::Bytes out = bytes_of("<SEGMENT>\r\n<SIZE>\r\n" + std::string(size_line) + "\r\n</SIZE>\r\n");
  out.insert(out.end(), packed.begin(), packed.end());
  io::Bytes close = bytes_of("</SEGMENT>\r\n");
  out.insert(out.end(), close.begin(), close.end());
  return out;
}

}  // namespace

TEST(Segment, ZeroByteBlockStillMakesASegment) {
  io::Bytes seg = segment_of({});
  std::string text(seg.begin(), seg.end());
  const std::string head = "<SEGMENT>\r\n<SIZE>\r\n";
  ASSERT_EQ(text.compare(0, head.size(), head), 0);
  std::size_t size_end = text.find("\r\n</SIZE>\r\n");
  ASSERT_NE(size_end, std::string::npos);
  int stated = std::stoi(text.substr(head.size(), size_end - head.size()));
  std::size_t payload = size_end + 11;
  // The zlib stream of nothing plus the four length bytes, then the close tag.
  EXPECT_GT(stated, 4);
  EXPECT_EQ(seg.size(), payload + stated + 12);
  EXPECT_EQ(text.substr(payload + stated), "</SEGMENT>\r\n");
  EXPECT_EQ(std::memcmp(seg.data() + payload + stated - 4, "\0\0\0\0", 4), 0);

  io::SegmentReader reader(seg);
  io::Segment r = next(reader);
  EXPECT_EQ(r.status, io::SegmentStatus::ok);
  EXPECT_TRUE(r.block.empty());
}

TEST(Segment, PackedBlockIsZlibStreamAndLittleEndianLength) {
  for (std::size_t n : {1u, 100u, 5000u, 70000u}) {
    io::Bytes block = random_block(n, unsigned(n));
    io::Bytes packed = io::pack_bank(block);
    ASSERT_GE(packed.size(), 4u);
    const uint8_t* t = packed.data() + packed.size() - 4;
    EXPECT_EQ(uint32_t(t[0]) | uint32_t(t[1]) << 8 | uint32_t(t[2]) << 16 | uint32_t(t[3]) << 24, n);
    io::Bytes back(n);
    uLongf got = uLongf(n);
    ASSERT_EQ(uncompress(back.data(), &got, packed.data(), uLong(packed.size() - 4)), Z_OK) << n;
    EXPECT_EQ(back, block);
    // Level 9 is the file format's level: a file saved twice is the same file.
    EXPECT_EQ(packed, io::pack_bank(block, 9));
  }
}

TEST(Segment, SegmentsReadBackInOrderThenNothing) {
  io::Bytes a = random_block(3000, 1), b = random_block(17, 2);
  io::MemoryOutput out;
  ASSERT_TRUE(io::write_segment(out, a));
  ASSERT_TRUE(io::write_segment(out, b));
  io::SegmentReader reader(out.bytes);
  io::Segment first = next(reader);
  io::Segment second = next(reader);
  io::Segment third = next(reader);
  EXPECT_EQ(first.status, io::SegmentStatus::ok);
  EXPECT_EQ(first.block, a);
  EXPECT_EQ(second.status, io::SegmentStatus::ok);
  EXPECT_EQ(second.block, b);
  EXPECT_EQ(third.status, io::SegmentStatus::end);
  EXPECT_TRUE(third.block.empty());
  EXPECT_TRUE(reader.at_end());
}

TEST(Segment, ScannerSkipsBytesBeforeTheTagsAndSpacesBeforeTheSize) {
  io::Bytes block = random_block(500, 3);
  io::Bytes packed = io::pack_bank(block);
  io::Bytes data = bytes_of("junk <SEG <<SEGMENT> no ");
  io::Bytes seg = framed("  \t" + std::to_string(packed.size()) + " trailing", packed);
  data.insert(data.end(), seg.begin(), seg.end());
  io::SegmentReader reader(data);
  io::Segment r = next(reader);
  ASSERT_EQ(r.status, io::SegmentStatus::ok);
  EXPECT_EQ(r.block, block);
}

TEST(Segment, FileCutAnywhereNeverYieldsAWrongBlock) {
  io::Bytes block = random_block(4000, 4);
  io::Bytes seg = segment_of(block);
  const std::size_t payload_end = seg.size() - 12;
  for (std::size_t cut = 0; cut < seg.size(); ++cut) {
    io::SegmentReader reader(std::span<const uint8_t>(seg.data(), cut));
    io::Segment r = next(reader);
    if (cut >= payload_end) {
      // Only the close tag is missing: the block is whole.
      EXPECT_EQ(r.status, io::SegmentStatus::ok) << cut;
      EXPECT_EQ(r.block, block) << cut;
    } else if (cut < 9) {
      EXPECT_EQ(r.status, io::SegmentStatus::end) << cut;
    } else {
      EXPECT_EQ(r.status, io::SegmentStatus::cut) << cut;
      EXPECT_TRUE(r.block.empty()) << cut;
    }
    EXPECT_EQ(next(reader).status, io::SegmentStatus::end) << cut;
  }
}

TEST(Segment, CorruptSegmentsAreErrors) {
  io::Bytes block = random_block(2000, 5);
  io::Bytes packed = io::pack_bank(block);
  auto with_length = [&](uint32_t n) {
    io::Bytes p = packed;
    for (int i = 0; i < 4; ++i) p[p.size() - 4 + i] = uint8_t(n >> (8 * i));
    return p;
  };
  io::Bytes flipped = packed;
  flipped[packed.size() / 2] ^= 0x55;
  io::Bytes garbage = random_block(300, 6);
  const std::string size = std::to_string(packed.size());
  const struct {
    const char* what;
    io::Bytes data;
    std::size_t max_length;
  } cases[] = {
      {"size 0", framed("0", packed), SIZE_MAX},
      {"negative size", framed("-" + size, packed), SIZE_MAX},
      {"no digits", framed("abc", packed), SIZE_MAX},
      {"size beyond 32 bits", framed("99999999999999999999", packed), SIZE_MAX},
      {"stored length too large", framed(size, with_length(2001)), SIZE_MAX},
      {"stored length too small", framed(size, with_length(1999)), SIZE_MAX},
      {"stored length negative", framed(size, with_length(0x80000000u)), SIZE_MAX},
      {"stored length beyond any ratio", framed(size, with_length(0x7fffffffu)), SIZE_MAX},
      {"payload of 3 bytes", framed("3", io::Bytes{1, 2, 3}), SIZE_MAX},
      {"damaged stream", framed(size, flipped), SIZE_MAX},
      {"garbage payload", framed(std::to_string(garbage.size()), garbage), SIZE_MAX},
      {"longer than the caller allows", framed(size, packed), 1999},
  };
  for (const auto& c : cases) {
    io::SegmentReader reader(c.data);
    Result<io::Segment> r = reader.read_segment(c.max_length);
    ASSERT_FALSE(r) << c.what;
    EXPECT_FALSE(r.error().message.empty()) << c.what;
  }
}
