// Where the checks put their messages: -W levels applied, at most so many of each name kept, the rest counted.
#pragma once

#include <cstddef>
#include <map>
#include <optional>
#include <tuple>
#include <utility>
#include <string>
#include <vector>

#include "common/diagnostics.h"
#include "common/warning_names.h"

namespace scenario::tool {

// The messages of one compilation. Junk input can draw a message per line, so
// only the messages a rendering shows are kept: the first `max_per_name` of
// each name in source order (all when it is 0); the others are counted, by
// name and by severity, so that the summary and the "N more like this" lines
// stay exact.
class MessageSink {
 public:
  MessageSink(const WarningSettings& settings, std::size_t max_per_name)
      : settings_(settings), max_per_name_(max_per_name) {}

  // A warning check's message: its name's level switches it off, keeps it a
  // warning or makes it an error.
  void push_back(Message m);
  // An error the compiler recorded: kept as it is. A warning that would
  // tell the same fact at the same field is then not kept (one fact, one
  // message).
  void add_error(Message m);
  // For a check that would build a costly text: counts a warning of `name`
  // at a place as held and returns true when it would not be kept anyway.
  bool held_back(std::string_view name, SourceId source, std::size_t at);
  // Warnings about one source's fields are not kept while it is muted (a
  // source that is not text would draw one per field).
  void mute(SourceId source, bool muted) { muted_[static_cast<std::size_t>(source)] = muted; }

  std::size_t count(Severity s) const { return counts_[static_cast<std::size_t>(s)]; }
  // The messages kept, in source order, and how many of each name were not kept.
  std::vector<Message> take_sorted();
  const std::map<std::string, std::size_t>& held() const { return held_; }

 private:
  void keep(Message m);
  bool told_by_an_error(const Message& warning) const;

  const WarningSettings& settings_;
  std::size_t max_per_name_;
  std::map<std::string, std::vector<std::pair<std::size_t, Message>>, std::less<>> kept_;  // with their arrival
  std::size_t arrived_ = 0;
  std::vector<std::tuple<std::string, SourceId, std::optional<std::size_t>>> error_places_;  // code, source, field
  bool muted_[3] = {false, false, false};  // by SourceId
  std::map<std::string, std::size_t> held_;
  std::size_t counts_[3] = {0, 0, 0};  // by Severity
};

}  // namespace scenario::tool
