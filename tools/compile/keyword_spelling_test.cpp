// The hints' keyword spellings agree with the record table: each starts its own record and no earlier one.
#include "compile/keyword_spelling.h"

#include <gtest/gtest.h>

#include "parser/record_kinds.h"

namespace scenario::tool {
namespace {

TEST(KeywordSpelling, EachStartsItsRecordFirstInThePassOrder) {
  for (SourceId source : {SourceId::Line, SourceId::Train}) {
    for (const RecordSpec& spec : record_specs(source)) {
      ASSERT_FALSE(keyword_spellings(spec.kind).empty()) << spec.name;
      for (std::string_view word : keyword_spellings(spec.kind)) {
        const RecordSpec* first = nullptr;
        for (const RecordSpec& other : record_specs(source)) {
          if (starts_record(other, word, true)) {
            first = &other;
            break;
          }
        }
        ASSERT_NE(first, nullptr) << word << " starts no record";
        EXPECT_EQ(first->kind, spec.kind) << word << " starts a " << first->name << " first";
      }
    }
  }
}

}  // namespace
}  // namespace scenario::tool
