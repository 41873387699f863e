// The hints' keyword spellings agree with the record table: each starts its own record and no earlier one.
#include "compile/keyword_spelling.h"

#include <gtest/gtest.h>

#include "parser/record_kinds.h"

namespace scenario::tool {
namespace {

TEST(KeywordSpelling, EachStartsItsRecordFirstInThePassOrder) {
  for (SourceId source : {SourceId::Line, SourceId::Train}) {
    for (const RecordLayout& layout : record_layouts(source)) {
      ASSERT_FALSE(keyword_spellings(layout.kind).empty()) << layout.name;
      for (std::string_view word : keyword_spellings(layout.kind)) {
        const RecordLayout* first = nullptr;
        for (const RecordLayout& other : record_layouts(source)) {
          if (starts_record(other, word, true)) {
            first = &other;
            break;
          }
        }
        ASSERT_NE(first, nullptr) << word << " starts no record";
        EXPECT_EQ(first->kind, layout.kind) << word << " starts a " << first->name << " first";
      }
    }
  }
}

}  // namespace
}  // namespace scenario::tool
