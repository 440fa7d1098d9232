#include "config/ini_parse.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "config/codepage.h"

namespace tarvik::ini {
namespace {

// The index a batch keeps up to date by hand must be exactly what parsing the same text
// gives, or later changes of the batch would land on the wrong bytes.
void expectSameIndex(const Document& kept, const std::string& context) {
  const Document fresh = parse(kept.bytes);
  ASSERT_EQ(kept.lines, fresh.lines) << context;
  ASSERT_EQ(kept.regions.size(), fresh.regions.size()) << context;
  for (std::size_t r = 0; r < kept.regions.size(); ++r) {
    const Region& a = kept.regions[r];
    const Region& b = fresh.regions[r];
    ASSERT_EQ(a.headerLine, b.headerLine) << context << " region " << r;
    ASSERT_EQ(a.firstLine, b.firstLine) << context << " region " << r;
    ASSERT_EQ(a.endLine, b.endLine) << context << " region " << r;
    ASSERT_EQ(a.keys, b.keys) << context << " region " << r;
    ASSERT_EQ(a.keyOrder, b.keyOrder) << context << " region " << r;
  }
  ASSERT_EQ(kept.sections, fresh.sections) << context;
  ASSERT_EQ(kept.sectionOrder, fresh.sectionOrder) << context;
}

TEST(InPlaceEdits, KeepTheIndexExactlyAsParsingWould) {
  const std::string starts[] = {
      "",
      "[A]\r\nx=1",
      "[A]\rx=1\r",
      ";head\n top = 1 \n\n[A]\n\n[a]\nx=dup\n[B]\r\n;c\r\n\r\n",
      "k=v\r\n[]\r\nq=1\r\n[C]\r\n  y =  \r\n",
      "\r\n\r\n",
      "[Ёлка]\r\nКлюч=\"1\"\r\n[ЁЛКА]\r\n",
  };
  const char* sections[] = {"A", "a", "B", "C", "", "ёлка", "New", " new "};
  const char* keys[] = {"x", "X", "y", "top", "k", "ключ", "z", " z "};
  const char* values[] = {"", "1", "22", " padded ", "'q'", "Значение", "a=b"};
  std::uint32_t seed = 99;
  const auto next = [&seed](std::uint32_t range) {
    seed = seed * 1664525 + 1013904223;
    return (seed >> 8) % range;
  };
  for (const std::string& start : starts) {
    for (int trial = 0; trial < 20; ++trial) {
      Document kept = parse(utf8ToCp1251(start));
      for (int step = 0; step < 10; ++step) {
        const char* section = sections[next(8)];
        const char* key = keys[next(8)];
        const char* value = values[next(7)];
        const auto expected = setValue(kept, section, key, value);
        const bool changed = setValueInPlace(kept, section, key, value);
        ASSERT_EQ(changed, expected.has_value());
        if (expected) {
          ASSERT_EQ(kept.bytes, *expected);
        }
        expectSameIndex(kept, "start " + start + " trial " + std::to_string(trial) + " step " +
                                  std::to_string(step));
      }
    }
  }
}

}  // namespace
}  // namespace tarvik::ini
