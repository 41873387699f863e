// Fuzz target: random bytes as each of the three binary files, listed by the
// tool's dump (as text or as JSON) and checked by its verify. The first byte
// of the input chooses the kind of file and the listing; the rest is the
// file. Nothing may crash or read outside the bytes, the JSON must parse and
// the text must be safe to show on a terminal.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "common/binary_files.h"
#include "dump/dump_command.h"
#include "fuzz_compile.h"
#include "json_check.h"
#include "platform/failure.h"
#include "text_check.h"
#include "verify/verify_checks.h"

namespace {

using namespace scenario;
using namespace scenario::tool;

struct Kind {
  FileKind kind;
  const char* name;
};
constexpr Kind kKinds[] = {
    {FileKind::Sim, "Castrovelde_Ardis_R31708.sim"},
    {FileKind::TrainDat, "Castrovelde_Ardis_R31708.dat"},
    {FileKind::LineDat, "Castrovelde_Ardis_linea.dat"},
};

// The listing, or nothing when the bytes are not a file of that kind (the
// tool then reports a Failure naming the offset, with exit status 2).
std::optional<std::string> dump(const Kind& k, std::string_view bytes, bool json) {
  DumpOptions options;
  options.json = json;
  std::ostringstream out;
  try {
    dump_bytes(k.kind, bytes, k.name, options, out);
  } catch (const Failure&) {
    return std::nullopt;
  }
  return out.str();
}

void verify(const Kind& k, std::string_view bytes) {
  switch (k.kind) {
    case FileKind::Sim: {
      const SimFacts facts = verify_sim(bytes, k.name);
      (void)verify_set(&facts, nullptr, nullptr);
      break;
    }
    case FileKind::TrainDat: {
      const DatFacts facts = verify_dat(bytes, k.name);
      (void)verify_set(nullptr, &facts, nullptr);
      break;
    }
    default: {
      const LineFacts facts = verify_linea(bytes);
      (void)verify_set(nullptr, nullptr, &facts);
      break;
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const Kind& k = kKinds[data[0] % std::size(kKinds)];
  const std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);
  // The first byte's next choice: the text listing or the JSON one. Each
  // decodes the whole file again, so one per input keeps inputs quick.
  if ((data[0] / std::size(kKinds)) % 2 == 0) {
    if (const auto text = dump(k, bytes, false)) {
      fuzz::require(fuzz::is_display_text(*text), "dump's text output holds a raw control byte or invalid UTF-8");
    }
  } else if (const auto json = dump(k, bytes, true)) {
    fuzz::require(fuzz::is_json_lines(*json), "dump's JSON output does not parse");
  }
  verify(k, bytes);
  return 0;
}
