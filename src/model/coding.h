// Little-endian byte encoding and decoding of the binary files' fields.
#pragma once

#include <bit>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "platform/failure.h"

namespace scenario {

// The longest text a record can hold: its length is a 16-bit count.
inline constexpr std::size_t kMaxTextBytes = 0xffff;

// The 16-bit byte count of a text field; throws Failure when the text is longer.
inline std::uint16_t TextLength(std::string_view text) {
  if (text.size() > kMaxTextBytes) {
    throw Failure("a text of " + std::to_string(text.size()) + " bytes does not fit a record",
                  FailureDetail{.kind = FailureKind::TooWide,
                                .expected = "a text of at most 65535 bytes",
                                .value = static_cast<std::int64_t>(text.size()),
                                .low = 0,
                                .high = static_cast<std::int64_t>(kMaxTextBytes)});
  }
  return static_cast<std::uint16_t>(text.size());
}

// Stores at a running position of a buffer that is already sized, for the
// files of many fields (a cell per 50 m, two plan values per metre), where
// appends field by field would cost more than the content. Each returns the
// position after the field.
inline char* StoreByte(char* p, std::uint8_t v) {
  *p = static_cast<char>(v);
  return p + 1;
}

inline char* StoreFixed16(char* p, std::uint16_t v) {
  p[0] = static_cast<char>(v & 0xff);
  p[1] = static_cast<char>(v >> 8);
  return p + 2;
}

// On a little-endian host a field's bytes are the value's own bytes, and one
// copy of them is a single load or store, which the plan file makes several
// hundred thousand of per route; elsewhere they are assembled byte by byte.
inline constexpr bool kLittleEndianHost = std::endian::native == std::endian::little;

inline char* StoreFixed32(char* p, std::uint32_t v) {
  if constexpr (kLittleEndianHost) {
    std::memcpy(p, &v, sizeof v);
  } else {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<char>((v >> (8 * i)) & 0xff);
  }
  return p + 4;
}

inline char* StoreFixed64(char* p, std::uint64_t v) {
  if constexpr (kLittleEndianHost) {
    std::memcpy(p, &v, sizeof v);
  } else {
    for (int i = 0; i < 8; ++i) p[i] = static_cast<char>((v >> (8 * i)) & 0xff);
  }
  return p + 8;
}

inline char* StoreDouble(char* p, double v) { return StoreFixed64(p, std::bit_cast<std::uint64_t>(v)); }

// A text field whose length TextLength has already checked.
inline char* StoreText(char* p, std::string_view text) {
  p = StoreFixed16(p, static_cast<std::uint16_t>(text.size()));
  if (!text.empty()) std::memcpy(p, text.data(), text.size());
  return p + text.size();
}

inline std::uint16_t DecodeFixed16(const char* p) {
  return static_cast<std::uint16_t>(static_cast<unsigned char>(p[0]) |
                                    (static_cast<unsigned char>(p[1]) << 8));
}

inline std::uint32_t DecodeFixed32(const char* p) {
  std::uint32_t v = 0;
  if constexpr (kLittleEndianHost) {
    std::memcpy(&v, p, sizeof v);
  } else {
    for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(p[i]);
  }
  return v;
}

inline std::uint64_t DecodeFixed64(const char* p) {
  std::uint64_t v = 0;
  if constexpr (kLittleEndianHost) {
    std::memcpy(&v, p, sizeof v);
  } else {
    for (int i = 7; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(p[i]);
  }
  return v;
}

inline double DecodeDouble(const char* p) { return std::bit_cast<double>(DecodeFixed64(p)); }

}  // namespace scenario
