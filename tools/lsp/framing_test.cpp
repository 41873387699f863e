// Unit tests of the message framing: split and joined messages, bad and over-long headers.
#include "lsp/framing.h"

#include <gtest/gtest.h>

#include <vector>

namespace scenario::tool::lsp {
namespace {

std::vector<Frame> read_all(FrameReader& r) {
  std::vector<Frame> out;
  for (Frame f; r.next(f);) out.push_back(f);
  return out;
}

TEST(FrameReaderTest, MessagesJoinedInOnePieceComeOutOneByOne) {
  FrameReader r;
  r.feed(frame("{\"a\":1}") + frame("") + "content-length: 3\r\nContent-Type: x\r\n\r\n[2]");
  const auto frames = read_all(r);
  ASSERT_EQ(frames.size(), 3u);
  EXPECT_EQ(frames[0].body, "{\"a\":1}");
  EXPECT_EQ(frames[1].body, "");
  EXPECT_EQ(frames[2].body, "[2]");
  for (const Frame& f : frames) EXPECT_EQ(f.fault, "");
  EXPECT_EQ(r.pending(), 0u);
}

TEST(FrameReaderTest, AMessageSplitAtEveryByteComesOutWhole) {
  const std::string bytes = frame("{\"method\":\"x\xC3\xAC\"}") + frame("{}");
  FrameReader r;
  std::vector<Frame> frames;
  for (char c : bytes) {
    r.feed(std::string_view(&c, 1));
    for (Frame f; r.next(f);) frames.push_back(f);
  }
  ASSERT_EQ(frames.size(), 2u);
  EXPECT_EQ(frames[0].body, "{\"method\":\"x\xC3\xAC\"}");
  EXPECT_EQ(frames[1].body, "{}");
}

struct BadHeaderCase {
  std::string name;
  std::string headers;
};

class BadHeaderTest : public ::testing::TestWithParam<BadHeaderCase> {};

// A bad header block is reported once and skipped; the next message is read as usual.
TEST_P(BadHeaderTest, IsAFaultAndTheNextMessageIsStillRead) {
  FrameReader r;
  r.feed(GetParam().headers + "\r\n\r\n" + frame("{}"));
  const auto frames = read_all(r);
  ASSERT_GE(frames.size(), 2u);
  EXPECT_NE(frames[0].fault, "");
  EXPECT_EQ(frames.back().fault, "");
  EXPECT_EQ(frames.back().body, "{}");
}

INSTANTIATE_TEST_SUITE_P(
    Headers, BadHeaderTest,
    ::testing::Values(BadHeaderCase{"NoLength", "Content-Type: application/json"},
                      BadHeaderCase{"NegativeLength", "Content-Length: -4"},
                      BadHeaderCase{"LengthNotANumber", "Content-Length: 12abc"},
                      BadHeaderCase{"LengthTooLongToHold", "Content-Length: 99999999999999999999999"},
                      BadHeaderCase{"LengthTwice", "Content-Length: 2\r\nContent-Length: 2"},
                      BadHeaderCase{"LineWithoutColon", "Content-Length 2"}),
    [](const ::testing::TestParamInfo<BadHeaderCase>& info) { return info.param.name; });

TEST(FrameReaderTest, AnOverLongBodyIsSkippedWithoutBeingKept) {
  FrameReader r;
  const std::size_t length = kMaxBodyBytes + 1;
  r.feed("Content-Length: " + std::to_string(length) + "\r\n\r\n");
  Frame f;
  ASSERT_TRUE(r.next(f));
  EXPECT_NE(f.fault, "");
  // The body arrives in pieces and is passed over, never held.
  const std::string piece(1024 * 1024, 'x');
  for (std::size_t sent = 0; sent < length; sent += piece.size()) {
    r.feed(std::string_view(piece).substr(0, std::min(piece.size(), length - sent)));
    EXPECT_EQ(r.pending(), 0u);
  }
  r.feed(frame("{}"));
  ASSERT_TRUE(r.next(f));
  EXPECT_EQ(f.body, "{}");
}

TEST(FrameReaderTest, AHeaderThatNeverEndsIsDroppedNotHeld) {
  FrameReader r;
  r.feed(std::string(kMaxHeaderBytes * 2, 'h'));
  Frame f;
  ASSERT_TRUE(r.next(f));
  EXPECT_NE(f.fault, "");
  EXPECT_LE(r.pending(), kMaxHeaderBytes);
}

}  // namespace
}  // namespace scenario::tool::lsp
