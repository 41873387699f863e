// The fixed-width fields' byte order: each store gives the listed bytes, least
// significant first, and each decode gives the value back from those bytes.
#include "model/coding.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <ostream>
#include <string>

namespace scenario {
namespace {

struct Field {
  const char* name;
  int width;            // bytes
  std::uint64_t value;  // its low `width` bytes are stored
  std::string bytes;
};

void PrintTo(const Field& f, std::ostream* os) { *os << f.name; }

class FixedField : public ::testing::TestWithParam<Field> {};

std::string stored(const Field& f) {
  // One guard byte after the field, which no store may touch.
  std::string out(static_cast<std::size_t>(f.width) + 1, '\x55');
  char* p = out.data();
  char* end = nullptr;
  if (f.width == 2) end = StoreFixed16(p, static_cast<std::uint16_t>(f.value));
  if (f.width == 4) end = StoreFixed32(p, static_cast<std::uint32_t>(f.value));
  if (f.width == 8) end = StoreFixed64(p, f.value);
  EXPECT_EQ(end, p + f.width);
  return out;
}

std::uint64_t decoded(const Field& f) {
  if (f.width == 2) return DecodeFixed16(f.bytes.data());
  if (f.width == 4) return DecodeFixed32(f.bytes.data());
  return DecodeFixed64(f.bytes.data());
}

TEST_P(FixedField, StoresItsBytesLowFirstAndDecodesBack) {
  const Field& f = GetParam();
  EXPECT_EQ(stored(f), f.bytes + '\x55');
  EXPECT_EQ(decoded(f), f.value);
}

INSTANTIATE_TEST_SUITE_P(
    Coding, FixedField,
    ::testing::Values(Field{"Fixed16", 2, 0x1234, std::string("\x34\x12", 2)},
                      Field{"Fixed16High", 2, 0xfffe, std::string("\xfe\xff", 2)},
                      Field{"Fixed32", 4, 0x12345678, std::string("\x78\x56\x34\x12", 4)},
                      Field{"Fixed32MinusTwoFifty", 4, 0xffffff06, std::string("\x06\xff\xff\xff", 4)},
                      Field{"Fixed64", 8, 0x0102030405060708, std::string("\x08\x07\x06\x05\x04\x03\x02\x01", 8)},
                      Field{"Fixed64TopBit", 8, 0x8000000000000001, std::string("\x01\0\0\0\0\0\0\x80", 8)}),
    [](const ::testing::TestParamInfo<Field>& info) { return std::string(info.param.name); });

// A real is its IEEE 754 bits as a 64-bit field, so -0.0 keeps its sign.
TEST(Coding, DoubleIsItsBitsLittleEndian) {
  std::string b(8, '\0');
  EXPECT_EQ(StoreDouble(b.data(), 1.5), b.data() + 8);
  EXPECT_EQ(b, std::string("\0\0\0\0\0\0\xf8\x3f", 8));
  EXPECT_EQ(DecodeDouble(b.data()), 1.5);
  StoreDouble(b.data(), -0.0);
  EXPECT_EQ(b, std::string("\0\0\0\0\0\0\0\x80", 8));
  EXPECT_TRUE(std::signbit(DecodeDouble(b.data())));
}

}  // namespace
}  // namespace scenario
