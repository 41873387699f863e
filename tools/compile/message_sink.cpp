// Keeping the messages a rendering shows and counting the others.
#include "compile/message_sink.h"

#include <algorithm>
#include <tuple>

namespace scenario::tool {
namespace {

// Where a message stands in source order.
std::tuple<int, std::size_t> place_key(const Message& m) {
  const int rank = m.source == SourceId::Line ? 1 : m.source == SourceId::Train ? 2 : 0;
  return {rank, m.at.value_or(0)};
}

// A lint warning and an error that tell one fact about one field: the
// warning's name and the error's status.
struct SameFact {
  std::string_view warning;
  Status error;
};

constexpr SameFact kSameFacts[] = {
    {"long-name", Status::RuntimeFailure},           // a text too long for its 16-bit length
    {"unordered-station", Status::StationTooClose},  // a station before the previous one's zone
};

}  // namespace

bool MessageSink::told_by_an_error(const Message& w) const {
  for (const SameFact& f : kSameFacts) {
    if (w.name != f.warning) continue;
    const std::string code = std::to_string(status_number(f.error));
    for (const auto& [name, source, at] : error_places_) {
      if (name == code && source == w.source && at == w.at) return true;
    }
  }
  return false;
}

void MessageSink::push_back(Message m) {
  if (muted_[static_cast<std::size_t>(m.source)]) return;
  if (told_by_an_error(m)) return;
  const WarningLevel level = settings_.level_of(m.name);
  if (level == WarningLevel::Off) return;
  if (level == WarningLevel::Error) {
    m.raised = m.severity == Severity::Warning && default_level(m.name) != WarningLevel::Error;
    m.severity = Severity::Error;
  }
  keep(std::move(m));
}

void MessageSink::add_error(Message m) {
  error_places_.emplace_back(m.name, m.source, m.at);
  keep(std::move(m));
}

bool MessageSink::held_back(std::string_view name, SourceId source, std::size_t at) {
  if (max_per_name_ == 0) return false;
  if (muted_[static_cast<std::size_t>(source)]) return true;
  auto it = kept_.find(name);
  if (it == kept_.end() || it->second.size() < max_per_name_) return false;
  Message probe;
  probe.source = source;
  probe.at = at;
  for (const auto& kept : it->second) {
    if (place_key(probe) < place_key(kept.second)) return false;
  }
  const WarningLevel level = settings_.level_of(name);
  if (level == WarningLevel::Off) return true;
  ++counts_[static_cast<std::size_t>(level == WarningLevel::Error ? Severity::Error : Severity::Warning)];
  ++held_[std::string(name)];
  return true;
}

void MessageSink::keep(Message m) {
  ++counts_[static_cast<std::size_t>(m.severity)];
  for (const Message& note : m.notes) ++counts_[static_cast<std::size_t>(note.severity)];
  auto it = kept_.find(m.name);
  if (it == kept_.end()) it = kept_.emplace(m.name, std::vector<std::pair<std::size_t, Message>>{}).first;
  auto& list = it->second;
  const std::size_t arrival = arrived_++;
  if (max_per_name_ == 0 || list.size() < max_per_name_) {
    list.emplace_back(arrival, std::move(m));
    return;
  }
  // Full: the latest in source order makes way when the new one comes before it.
  auto last = std::max_element(list.begin(), list.end(), [](const auto& a, const auto& b) {
    return std::tuple(place_key(a.second), a.first) < std::tuple(place_key(b.second), b.first);
  });
  ++held_[m.name];
  if (place_key(m) < place_key(last->second)) *last = {arrival, std::move(m)};
}

std::vector<Message> MessageSink::take_sorted() {
  std::vector<std::pair<std::size_t, Message>> all;
  for (auto& [name, list] : kept_) {
    for (auto& m : list) all.push_back(std::move(m));
  }
  kept_.clear();
  // In the order they came, then in source order: what comes first at one place stays first.
  std::sort(all.begin(), all.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  std::vector<Message> out;
  out.reserve(all.size());
  for (auto& [arrival, m] : all) out.push_back(std::move(m));
  sort_messages(out);
  return out;
}

}  // namespace scenario::tool
