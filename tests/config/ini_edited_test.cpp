#include "config/ini_edited.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>

#include "config/codepage.h"

namespace tarvik::ini {
namespace {

std::shared_ptr<const Document> parsed(const std::string& utf8) {
  return std::make_shared<const Document>(parse(utf8ToCp1251(utf8)));
}

// Texts where a change is easy to get wrong: no line end at the end, lone CR or LF line
// ends, blank lines after the last key, a CR line end that meets a lone LF once the line
// between them is gone, repeated sections and keys, keys before the first header, "[]".
const std::string kStarts[] = {
    "",
    "[A]\r\nx=1",
    "[A]\rx=1\r",
    "[A]\rx=1\r\n\ny=2\r\n[B]\r\nz=3   ",
    ";head\n top = 1 \n\n[A]\n\n[a]\nx=dup\n[B]\r\n;c\r\n\r\n",
    "k=v\r\n[]\r\nq=1\r\n[C]\r\n  y =  \r\nY=second\r\n",
    "\r\n\r\n",
    "  \t",
    "[Ёлка]\r\nКлюч=\"1\"\r\n[ЁЛКА]\r\nключ=2\r\n",
};

// Random writes, key deletions and section deletions applied to one EditedDocument must give,
// after every step, the bytes of the same changes applied one at a time to parsed text.
TEST(EditedDocument, RandomChangesGiveTheBytesOfChangesOneByOne) {
  const char* sections[] = {"A", "a", "B", "C", "", "ёлка", "New", " new ", "Other"};
  const char* keys[] = {"x", "X", "y", "top", "k", "ключ", "z", " z ", "q"};
  const char* values[] = {"", "1", "22", " padded ", "'q'", "Значение", "a=b", "  "};
  std::uint32_t seed = 12345;
  const auto next = [&seed](std::uint32_t range) {
    seed = seed * 1664525 + 1013904223;
    return (seed >> 8) % range;
  };
  for (const std::string& start : kStarts) {
    for (int trial = 0; trial < 40; ++trial) {
      EditedDocument edited(parsed(start));
      Document oneByOne = parse(utf8ToCp1251(start));
      for (int step = 0; step < 16; ++step) {
        const char* section = sections[next(9)];
        const char* key = keys[next(9)];
        const std::uint32_t kind = next(12);
        std::optional<std::string> bytes;
        bool changed = false;
        if (kind < 9) {
          const char* value = values[next(8)];
          bytes = setValue(oneByOne, section, key, value);
          changed = edited.setValue(section, key, value);
        } else if (kind < 11) {
          bytes = removeKey(oneByOne, section, key);
          changed = edited.removeKey(section, key);
        } else {
          bytes = removeSection(oneByOne, section);
          changed = edited.removeSection(section);
        }
        const std::string context = "start \"" + start + "\" trial " + std::to_string(trial) +
                                    " step " + std::to_string(step);
        ASSERT_EQ(changed, bytes.has_value()) << context;
        if (bytes) oneByOne = parse(std::move(*bytes));
        ASSERT_EQ(edited.bytes(), oneByOne.bytes) << context;
        const char* probeSection = sections[next(9)];
        const char* probeKey = keys[next(9)];
        ASSERT_EQ(edited.value(probeSection, probeKey), value(oneByOne, probeSection, probeKey))
            << context << " reading " << probeSection << "/" << probeKey;
      }
    }
  }
}

TEST(EditedDocument, BlanksBeforeAnEarlierValueStayAsOneByOne) {
  EditedDocument edited(parsed("[S]\r\nk=1\r\n"));
  edited.setValue("S", "k", " 2");
  edited.setValue("s", "K", "3");
  EXPECT_EQ(edited.bytes(), "[S]\r\nk= 3\r\n");
  edited.setValue("S", "k", "");
  edited.setValue("S", "k", "4");
  EXPECT_EQ(edited.bytes(), "[S]\r\nk=4\r\n");
}

TEST(EditedDocument, NewKeysFollowTheLastKeyOfTheirSection) {
  EditedDocument edited(parsed("top=1\r\n\r\n[A]\r\nx=1\r\n\r\n[B]\r\ny=2"));
  edited.setValue("B", "n", "1");
  edited.setValue("A", "n", "2");
  edited.setValue("", "n", "3");
  edited.setValue("C", "n", "4");
  edited.setValue("A", "m", "5");
  EXPECT_EQ(edited.bytes(),
            "top=1\r\nn=3\r\n\r\n[A]\r\nx=1\r\nn=2\r\nm=5\r\n\r\n[B]\r\ny=2\r\nn=1\r\n"
            "[C]\r\nn=4\r\n");
  EXPECT_EQ(edited.value("a", "M"), "5");
  EXPECT_EQ(edited.value("c", "n"), "4");
  EXPECT_EQ(edited.value("C", "x"), std::nullopt);
}

TEST(EditedDocument, ChangesThatLeaveTheTextAsItIsAreNotChanges) {
  EditedDocument edited(parsed("[S]\r\nk=1\r\n"));
  EXPECT_FALSE(edited.setValue("S", "k", "1"));
  EXPECT_FALSE(edited.removeKey("S", "none"));
  EXPECT_FALSE(edited.removeSection("None"));
  EXPECT_FALSE(edited.changed());
  EXPECT_EQ(edited.bytes(), "[S]\r\nk=1\r\n");
  EXPECT_TRUE(edited.setValue("S", "k", "2"));
  EXPECT_TRUE(edited.changed());
  EXPECT_EQ(edited.bytes(), "[S]\r\nk=2\r\n");
}

}  // namespace
}  // namespace tarvik::ini
