// Tests of the message sink: the first messages of a name in source order are kept, the rest counted exactly.
#include "compile/message_sink.h"

#include <gtest/gtest.h>

namespace scenario::tool {
namespace {

Message at(SourceId source, std::size_t offset, const char* name = "unknown-keyword") {
  Message m;
  m.severity = Severity::Warning;
  m.name = name;
  m.source = source;
  m.at = offset;
  m.text = "t";
  return m;
}

std::vector<std::size_t> offsets(const std::vector<Message>& ms) {
  std::vector<std::size_t> out;
  for (const Message& m : ms) out.push_back(*m.at);
  return out;
}

TEST(MessageSink, KeepsTheFirstInSourceOrderWhateverTheyCameIn) {
  WarningSettings settings;
  MessageSink sink(settings, 3);
  for (std::size_t o : {50, 40, 30, 20, 10, 60}) sink.push_back(at(SourceId::Train, o, "past-end"));
  sink.push_back(at(SourceId::Line, 99, "past-end"));  // the line source comes first
  const std::vector<Message> kept = sink.take_sorted();
  EXPECT_EQ(offsets(kept), (std::vector<std::size_t>{99, 10, 20}));
  EXPECT_EQ(sink.held().at("past-end"), 4u);
  EXPECT_EQ(sink.count(Severity::Warning), 7u);
}

TEST(MessageSink, LevelsApplyAndHeldMessagesCountByTheirLevel) {
  WarningSettings settings;
  settings.shown["past-end"] = false;
  settings.as_error["after-end"] = true;
  MessageSink sink(settings, 1);
  sink.push_back(at(SourceId::Line, 1, "past-end"));
  sink.push_back(at(SourceId::Line, 1, "after-end"));
  sink.push_back(at(SourceId::Line, 2, "after-end"));
  EXPECT_FALSE(sink.held_back("unknown-keyword", SourceId::Line, 3));  // room for one
  sink.push_back(at(SourceId::Line, 3));
  EXPECT_TRUE(sink.held_back("unknown-keyword", SourceId::Line, 4));
  EXPECT_TRUE(sink.held_back("unknown-keyword", SourceId::Line, 5));
  EXPECT_EQ(sink.count(Severity::Error), 5u);  // two after-end, three unknown-keyword; past-end is off
  EXPECT_EQ(sink.count(Severity::Warning), 0u);
  EXPECT_EQ(sink.held().at("unknown-keyword"), 2u);
  const std::vector<Message> kept = sink.take_sorted();
  ASSERT_EQ(kept.size(), 2u);
  // A warning raised by -W says so; an error by default keeps its plain name.
  EXPECT_TRUE(kept[0].raised);
  EXPECT_EQ(kept[1].name, "unknown-keyword");
  EXPECT_FALSE(kept[1].raised);
  EXPECT_EQ(kept[1].severity, Severity::Error);
}

TEST(MessageSink, NoLimitKeepsAllAndMutedSourcesDropTheirWarnings) {
  WarningSettings settings;
  MessageSink sink(settings, 0);
  sink.mute(SourceId::Train, true);
  for (std::size_t o = 0; o < 100; ++o) sink.push_back(at(SourceId::Line, o, "past-end"));
  sink.push_back(at(SourceId::Train, 5, "past-end"));
  Message error = at(SourceId::Train, 6, "9");
  error.severity = Severity::Error;
  sink.add_error(error);  // the compiler's errors are never muted
  EXPECT_EQ(sink.take_sorted().size(), 101u);
  EXPECT_TRUE(sink.held().empty());
}

// An error hides the lint warning of the same fact only at its own field of
// its own source.
TEST(MessageSink, AnErrorHidesTheWarningOfItsFactAtItsFieldOnly) {
  WarningSettings settings;
  MessageSink sink(settings, 0);
  const std::string code = std::to_string(status_number(Status::StationTooClose));
  Message error = at(SourceId::Train, 6, code.c_str());
  error.severity = Severity::Error;
  sink.add_error(error);
  sink.push_back(at(SourceId::Train, 6, "unordered-station"));  // the same fact: not kept
  sink.push_back(at(SourceId::Line, 6, "unordered-station"));   // another source
  sink.push_back(at(SourceId::Train, 7, "unordered-station"));  // another field
  sink.push_back(at(SourceId::Train, 6, "past-end"));           // another fact
  EXPECT_EQ(sink.count(Severity::Warning), 3u);
  for (const Message& m : sink.take_sorted()) {
    EXPECT_FALSE(m.name == "unordered-station" && m.source == SourceId::Train && m.at == 6u);
  }
}

}  // namespace
}  // namespace scenario::tool
