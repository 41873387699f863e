// Whole-file replacement: exact new length, old file kept whole on failure, named errors,
// temporary names that a planted link or file cannot take over.
#include "platform/atomic_file.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/failure.h"

namespace scenario {
namespace {

namespace fs = std::filesystem;

std::string read_all(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void write_plain(const fs::path& p, const std::string& bytes) {
  std::ofstream out(p, std::ios::binary | std::ios::trunc);
  out << bytes;
}

// A fresh directory per test, removed afterwards.
class AtomicFile : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "atomic_file_XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
  }
  void TearDown() override {
    std::error_code ec;
    fs::permissions(dir_, fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(dir_, ec);
  }
  // Every name in the directory, to show that nothing else was left there.
  std::vector<std::string> names() const {
    std::vector<std::string> out;
    for (const auto& e : fs::directory_iterator(dir_)) out.push_back(e.path().filename().string());
    std::sort(out.begin(), out.end());
    return out;
  }
  fs::path dir_;
};

std::string binary_sample(std::size_t n) {
  std::string s(n, '\0');
  for (std::size_t i = 0; i < n; ++i) s[i] = static_cast<char>((i * 37 + 11) & 0xFF);
  return s;
}

TEST_F(AtomicFile, ResultIsExactlyTheNewBytes) {
  struct Case {
    const char* what;
    std::optional<std::string> old_bytes;
    std::string new_bytes;
  };
  const Case cases[] = {
      {"no older file", std::nullopt, binary_sample(5000)},
      {"older file much longer", std::string(100000, 'x'), binary_sample(2958)},
      {"older file shorter", std::string("abc"), binary_sample(30915)},
      {"new content empty", std::string(4096, 'x'), std::string()},
      {"CR LF and NUL bytes kept", std::string("old"), std::string("a\r\nb\0c\r\n", 8)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const fs::path target = dir_ / "Castrovelde_Ardis_R31708.sim";
    fs::remove(target);
    if (c.old_bytes) write_plain(target, *c.old_bytes);

    write_file_atomically(target, c.new_bytes);

    EXPECT_EQ(fs::file_size(target), c.new_bytes.size());
    EXPECT_EQ(read_all(target), c.new_bytes);
    EXPECT_EQ(names(), std::vector<std::string>{"Castrovelde_Ardis_R31708.sim"});
  }
}

TEST_F(AtomicFile, FailureHalfWayKeepsTheOldFileWholeAndLeavesNoTemporary) {
  const fs::path target = dir_ / "Castrovelde_Ardis_linea.dat";
  const std::string old_bytes = binary_sample(7000);
  write_plain(target, old_bytes);
  const std::string new_bytes(20000, 'n');

  try {
    write_file_atomically(target, new_bytes, Durability::Synced, WriteSeams{new_bytes.size() / 2, {}});
    FAIL() << "the injected fault did not fail the write";
  } catch (const Failure& f) {
    EXPECT_NE(std::string(f.what()).find(target.string()), std::string::npos) << f.what();
  }

  EXPECT_EQ(read_all(target), old_bytes);
  EXPECT_EQ(names(), std::vector<std::string>{"Castrovelde_Ardis_linea.dat"});
}

TEST_F(AtomicFile, FailureWithoutAnOlderFileCreatesNothing) {
  const fs::path target = dir_ / "Castrovelde_Ardis_R31708.dat";
  EXPECT_THROW(write_file_atomically(target, binary_sample(1000), Durability::Synced, WriteSeams{0, {}}), Failure);
  EXPECT_TRUE(names().empty());
}

// A file outside the folder that planted links point at; it must never change.
struct Bait {
  fs::path path;
  std::string bytes = "the user's own file, not to be touched\n";
};

// Whatever an attacker may plant at a name the writer might try: a link to a
// file of the user, a dangling link, a plain file, a directory.
enum class Plant { LinkToBait, DanglingLink, PlainFile, Directory };

void plant(const fs::path& at, Plant what, const Bait& bait) {
  switch (what) {
    case Plant::LinkToBait: fs::create_symlink(bait.path, at); break;
    case Plant::DanglingLink: fs::create_symlink(at.parent_path() / "nowhere" / "file", at); break;
    case Plant::PlainFile: write_plain(at, "planted"); break;
    case Plant::Directory: fs::create_directory(at); break;
  }
}

// The planted thing is still exactly what was planted.
void expect_untouched(const fs::path& at, Plant what, const Bait& bait) {
  SCOPED_TRACE(at.string());
  switch (what) {
    case Plant::LinkToBait:
      ASSERT_TRUE(fs::is_symlink(at));
      EXPECT_EQ(fs::read_symlink(at), bait.path);
      break;
    case Plant::DanglingLink:
      ASSERT_TRUE(fs::is_symlink(at));
      EXPECT_FALSE(fs::exists(at.parent_path() / "nowhere"));
      break;
    case Plant::PlainFile: EXPECT_EQ(read_all(at), "planted"); break;
    case Plant::Directory: EXPECT_TRUE(fs::is_directory(at) && fs::is_empty(at)); break;
  }
  EXPECT_EQ(read_all(bait.path), bait.bytes);
}

// Random parts handed out in order, so a test knows the names the writer tries.
std::function<std::string()> random_parts(std::vector<std::string> parts) {
  auto next = std::make_shared<std::size_t>(0);
  return [parts = std::move(parts), next]() { return parts.at((*next)++); };
}

class AtomicFilePlanted : public AtomicFile {
 protected:
  void SetUp() override {
    AtomicFile::SetUp();
    std::string pattern = (fs::temp_directory_path() / "atomic_bait_XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    bait_dir_ = pattern;
    bait_.path = bait_dir_ / "precious.txt";
    write_plain(bait_.path, bait_.bytes);
  }
  void TearDown() override {
    std::error_code ec;
    fs::remove_all(bait_dir_, ec);
    AtomicFile::TearDown();
  }
  fs::path bait_dir_;
  Bait bait_;
};

const Plant kEveryPlant[] = {Plant::LinkToBait, Plant::DanglingLink, Plant::PlainFile, Plant::Directory};

TEST_F(AtomicFilePlanted, NamesThatAreTakenAreSkippedAndLeftAsTheyAre) {
  const fs::path target = dir_ / "Castrovelde_Ardis_R31708_note.txt";
  write_plain(target, "old notes");
  // The fixed name earlier versions wrote through, and the first names drawn.
  fs::path old_fixed = target;
  old_fixed += ".partial";
  plant(old_fixed, Plant::LinkToBait, bait_);
  std::vector<std::string> parts;
  for (const Plant p : kEveryPlant) {
    parts.push_back("taken" + std::to_string(parts.size()));
    plant(temporary_name(target, parts.back()), p, bait_);
  }
  parts.push_back("free");

  write_file_atomically(target, "riga\r\n", Durability::Synced, WriteSeams{std::nullopt, random_parts(parts)});

  EXPECT_EQ(read_all(target), "riga\r\n");
  expect_untouched(old_fixed, Plant::LinkToBait, bait_);
  for (std::size_t i = 0; i < std::size(kEveryPlant); ++i) {
    expect_untouched(temporary_name(target, parts[i]), kEveryPlant[i], bait_);
  }
  EXPECT_FALSE(fs::exists(temporary_name(target, "free")));
  EXPECT_EQ(names().size(), 1 + 1 + std::size(kEveryPlant));
}

TEST_F(AtomicFilePlanted, SystemDrawnNamesNeverWriteThroughTheOldFixedName) {
  const fs::path target = dir_ / "Castrovelde_Ardis_R31708.sim";
  fs::path old_fixed = target;
  old_fixed += ".partial";
  plant(old_fixed, Plant::LinkToBait, bait_);
  for (int run = 0; run < 3; ++run) write_file_atomically(target, binary_sample(3000 + run));
  EXPECT_EQ(read_all(target), binary_sample(3002));
  expect_untouched(old_fixed, Plant::LinkToBait, bait_);
  EXPECT_EQ(names(), (std::vector<std::string>{"Castrovelde_Ardis_R31708.sim", "Castrovelde_Ardis_R31708.sim.partial"}));
}

TEST_F(AtomicFilePlanted, EveryNameTakenFailsWithoutTouchingAnything) {
  const fs::path target = dir_ / "Castrovelde_Ardis_R31708.dat";
  const std::string old_bytes = binary_sample(900);
  write_plain(target, old_bytes);
  plant(temporary_name(target, "same"), Plant::LinkToBait, bait_);

  try {
    write_file_atomically(target, "new", Durability::Synced,
                          WriteSeams{std::nullopt, [] { return std::string("same"); }});
    FAIL() << "a write with no free temporary name succeeded";
  } catch (const Failure& f) {
    EXPECT_NE(std::string(f.what()).find(target.string()), std::string::npos) << f.what();
  }
  EXPECT_EQ(read_all(target), old_bytes);
  expect_untouched(temporary_name(target, "same"), Plant::LinkToBait, bait_);
  EXPECT_EQ(names().size(), 2u);
}

// The writer tries exactly kTemporaryNameAttempts names: a free name drawn
// last is taken, one drawn after them is never tried.
TEST_F(AtomicFilePlanted, TriesExactlyTheAttemptLimit) {
  for (const int taken : {kTemporaryNameAttempts - 1, kTemporaryNameAttempts}) {
    SCOPED_TRACE(taken);
    const fs::path target = dir_ / ("Castrovelde_Ardis_R31708_" + std::to_string(taken) + ".sim");
    plant(temporary_name(target, "taken"), Plant::PlainFile, bait_);
    std::vector<std::string> parts(static_cast<std::size_t>(taken), "taken");
    parts.push_back("free");
    auto drawn = std::make_shared<int>(0);
    auto next = random_parts(parts);
    const WriteSeams seams{std::nullopt, [&next, drawn] {
                             ++*drawn;
                             return next();
                           }};
    if (taken < kTemporaryNameAttempts) {
      write_file_atomically(target, "new", Durability::Synced, seams);
      EXPECT_EQ(read_all(target), "new");
    } else {
      EXPECT_THROW(write_file_atomically(target, "new", Durability::Synced, seams), Failure);
      EXPECT_FALSE(fs::exists(target));
    }
    EXPECT_EQ(*drawn, std::min(taken + 1, kTemporaryNameAttempts));
    EXPECT_FALSE(fs::exists(temporary_name(target, "free")));
    expect_untouched(temporary_name(target, "taken"), Plant::PlainFile, bait_);
  }
}

TEST_F(AtomicFilePlanted, FailureAfterSkippingRemovesOnlyItsOwnTemporary) {
  const fs::path target = dir_ / "Castrovelde_Ardis_linea.dat";
  const std::string old_bytes = binary_sample(4000);
  write_plain(target, old_bytes);
  plant(temporary_name(target, "a"), Plant::LinkToBait, bait_);

  EXPECT_THROW(write_file_atomically(target, binary_sample(8000), Durability::Synced,
                                     WriteSeams{100, random_parts({"a", "b"})}),
               Failure);

  EXPECT_EQ(read_all(target), old_bytes);
  expect_untouched(temporary_name(target, "a"), Plant::LinkToBait, bait_);
  EXPECT_FALSE(fs::exists(temporary_name(target, "b")));
  EXPECT_EQ(names().size(), 2u);
}

TEST_F(AtomicFile, TransientWriteGivesTheSameFile) {
  const fs::path target = dir_ / "Castrovelde_Ardis_linea.txt";
  write_plain(target, std::string(9000, 'o'));
  write_file_atomically(target, "linea\r\n", Durability::Transient);
  EXPECT_EQ(read_all(target), "linea\r\n");
  EXPECT_EQ(names(), std::vector<std::string>{"Castrovelde_Ardis_linea.txt"});
}

// The message names the file the program was asked to write and the system's reason.
void expect_named_failure(const fs::path& target, int reason) {
  try {
    write_file_atomically(target, "data");
    FAIL() << "writing " << target << " did not fail";
  } catch (const Failure& f) {
    const std::string what = f.what();
    EXPECT_NE(what.find(target.string()), std::string::npos) << what;
    EXPECT_NE(what.find(std::strerror(reason)), std::string::npos) << what;
  }
}

TEST_F(AtomicFile, TargetThatCannotBeWrittenGivesANamedFailure) {
  expect_named_failure(dir_ / "missing" / "Castrovelde_Ardis_linea.txt", ENOENT);

  write_plain(dir_ / "plain_file", "not a directory");
  expect_named_failure(dir_ / "plain_file" / "Castrovelde_Ardis_linea.txt", ENOTDIR);
}

TEST_F(AtomicFile, TargetThatIsADirectoryIsNotReplacedAndLeavesNoTemporary) {
  const fs::path target = dir_ / "Castrovelde_Ardis_linea.dat";
  fs::create_directory(target);
  write_plain(target / "inside", "kept");

  EXPECT_THROW(write_file_atomically(target, "data"), Failure);

  EXPECT_EQ(read_all(target / "inside"), "kept");
  EXPECT_EQ(names(), std::vector<std::string>{"Castrovelde_Ardis_linea.dat"});
}

TEST_F(AtomicFile, UnwritableDirectoryGivesANamedFailureAndNoFile) {
  if (::geteuid() == 0) GTEST_SKIP() << "permissions do not stop root; tests/readonly_dir_test.sh covers this as an unprivileged user";
  const fs::path locked = dir_ / "locked";
  fs::create_directory(locked);
  fs::permissions(locked, fs::perms::owner_read | fs::perms::owner_exec);

  expect_named_failure(locked / "Castrovelde_Ardis_linea.txt", EACCES);

  fs::permissions(locked, fs::perms::owner_all);
  EXPECT_TRUE(fs::is_empty(locked));
}

}  // namespace
}  // namespace scenario
