// Exercises the Windows platform layer and prints one line per check; exit 0 when all hold.
#include <windows.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

#include "platform/platform.h"
#include "platform/text_win32.h"
#include "platform/atomic_file.h"
#include "platform/failure.h"

namespace fs = std::filesystem;
using namespace scenario;

namespace {

struct Tally {
  int failed = 0;
  void check(bool ok, const std::string& what) {
    std::printf("%s %s\n", ok ? "ok" : "FAIL", what.c_str());
    if (!ok) ++failed;
  }
};

std::string read_all(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

void write_all(const fs::path& p, const std::string& bytes) {
  std::ofstream out(p, std::ios::binary | std::ios::trunc);
  out << bytes;
}

void check_paths(Tally& t) {
  const fs::path dir = platform::program_directory();
  std::printf("directory %s\n", platform::narrow(dir.wstring()).c_str());
  t.check(fs::is_regular_file(dir / L"platform_probe.exe"), "program_directory holds the program");
  t.check(platform::join_path(fs::path(L"C:\\a"), "b.txt").wstring() == L"C:\\a\\b.txt", "join_path adds a backslash");
  t.check(platform::join_path(fs::path(L"C:\\"), "b.txt").wstring() == L"C:\\b.txt",
          "join_path keeps a root's single separator");
}

void check_text(Tally& t) {
  t.check(platform::widen("caf\xc3\xa9") == L"caf\u00e9", "widen reads UTF-8");
  t.check(platform::widen("caf\xe9").size() == 4, "widen falls back to the ANSI code page");
  t.check(platform::narrow(L"caf\u00e9") == "caf\xc3\xa9", "narrow writes UTF-8");
  t.check(platform::narrow(std::wstring(1, wchar_t(0xD800))) == "\xef\xbf\xbd", "narrow replaces a lone surrogate");
  t.check(platform::widen("").empty() && platform::narrow(L"").empty(), "empty texts stay empty");
}

void check_replace(Tally& t, const fs::path& dir) {
  const fs::path from = dir / L"from.tmp", to = dir / L"to.dat";
  write_all(to, "old");
  write_all(from, "new");
  platform::replace_file(from, to);
  t.check(read_all(to) == "new" && !fs::exists(from), "replace_file replaces an existing file");
  try {
    platform::replace_file(dir / L"missing.tmp", to);
    t.check(false, "replace_file fails on a missing source");
  } catch (const Failure& f) {
    const std::string what = f.what();
    std::printf("message %s\n", what.c_str());
    const auto colon = what.rfind(": ");
    t.check(what.find("to.dat") != std::string::npos && what.find("missing.tmp") != std::string::npos &&
                colon != std::string::npos && what.size() > colon + 3,
            "replace_file's failure names both files and the system's reason");
  }
  t.check(read_all(to) == "new", "a failed replace leaves the target whole");
}

void check_atomic_write(Tally& t, const fs::path& dir) {
  const fs::path target = dir / L"atomic.bin";
  write_all(target, "previous content that is longer");
  const std::string bytes("a\r\nb\n\x00\x1a end", 11);
  write_file_atomically(target, bytes);
  t.check(read_all(target) == bytes, "write_file_atomically writes the exact bytes (no text-mode changes)");
  t.check(std::distance(fs::directory_iterator(dir), fs::directory_iterator()) == 1, "no temporary file is left");

  // A file standing at a temporary name is skipped, not opened or truncated.
  write_all(temporary_name(target, "taken"), "planted");
  int drawn = 0;
  const WriteSeams seams{std::nullopt, [&drawn] { return std::string(drawn++ == 0 ? "taken" : "free"); }};
  write_file_atomically(target, "second", Durability::Synced, seams);
  t.check(read_all(target) == "second" && read_all(temporary_name(target, "taken")) == "planted" &&
              !fs::exists(temporary_name(target, "free")),
          "a name already taken is skipped and left as it was");
  fs::remove(temporary_name(target, "taken"));

  auto created = platform::NewFile::create(dir / L"sync.bin", "sync.bin");
  t.check(created.has_value(), "NewFile creates a new file");
  if (created) {
    created->write("x");
    created->sync();
    created->close();
  }
  t.check(read_all(dir / L"sync.bin") == "x", "NewFile writes and syncs a file");
  t.check(!platform::NewFile::create(dir / L"sync.bin", "sync.bin").has_value(), "NewFile refuses a name that exists");
  t.check(read_all(dir / L"sync.bin") == "x", "the refused name keeps its content");
}

}  // namespace

int main() {
  Tally t;
  try {
    const fs::path scratch = platform::program_directory() / L"scratch";
    fs::create_directories(scratch);
    check_paths(t);
    check_text(t);
    check_replace(t, scratch);
    fs::create_directories(scratch / L"atomic");
    check_atomic_write(t, scratch / L"atomic");
  } catch (const std::exception& e) {
    std::printf("FAIL unexpected exception: %s\n", e.what());
    return 1;
  }
  return t.failed == 0 ? 0 : 1;
}
