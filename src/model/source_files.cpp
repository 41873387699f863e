// Loading and deleting the source texts.
#include "model/source_files.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/failure.h"

namespace scenario {
namespace {

// A file that could not be opened, read or deleted.
Failure io_failure(const char* action, const std::filesystem::path& path, const std::string& why) {
  return Failure("cannot " + std::string(action) + " " + path.string() + ": " + why,
                 FailureDetail{.kind = FailureKind::Io, .expected = action, .found = path.string()});
}

}  // namespace

SourceFiles SourceFiles::on_disk(std::filesystem::path line, std::filesystem::path train) {
  SourceFiles s;
  s.on_disk_ = true;
  s.line_.path = std::move(line);
  s.train_.path = std::move(train);
  return s;
}

SourceFiles SourceFiles::in_memory(std::optional<std::string> line, std::optional<std::string> train) {
  SourceFiles s;
  s.line_.text = std::move(line);
  s.train_.text = std::move(train);
  s.line_.path = "linea.txt";
  s.train_.path = "treno.txt";
  return s;
}

const SourceFiles::Entry& SourceFiles::entry(SourceId id) const {
  if (id == SourceId::Line) return line_;
  if (id == SourceId::Train) return train_;
  throw Failure("no such source text", FailureDetail{.kind = FailureKind::Io, .expected = "find"});
}

SourceFiles::Entry& SourceFiles::entry(SourceId id) {
  return const_cast<Entry&>(static_cast<const SourceFiles*>(this)->entry(id));
}

std::string SourceFiles::display_name(SourceId id) const { return entry(id).path.string(); }

bool SourceFiles::exists(SourceId id) const {
  const Entry& e = entry(id);
  if (!on_disk_) return e.text.has_value();
  std::error_code ec;
  return std::filesystem::is_regular_file(e.path, ec);
}

std::string SourceFiles::load(SourceId id) const {
  const Entry& e = entry(id);
  if (!on_disk_) {
    if (!e.text) throw io_failure("open", e.path, "no such file");
    return *e.text;
  }
#ifdef _WIN32
  std::FILE* f = _wfopen(e.path.c_str(), L"rb");
#else
  std::FILE* f = std::fopen(e.path.c_str(), "rb");
#endif
  if (!f) throw io_failure("open", e.path, std::strerror(errno));
  std::string text;
  char buf[65536];
  std::size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) text.append(buf, n);
  bool bad = std::ferror(f) != 0;
  std::fclose(f);
  if (bad) throw Failure("cannot read " + e.path.string(), FailureDetail{.kind = FailureKind::Io, .expected = "read", .found = e.path.string()});
  return text;
}

void SourceFiles::remove(SourceId id) {
  Entry& e = entry(id);
  if (!on_disk_) {
    e.text.reset();
    return;
  }
  std::error_code ec;
  std::filesystem::remove(e.path, ec);
  if (ec) throw io_failure("delete", e.path, ec.message());
}

}  // namespace scenario
