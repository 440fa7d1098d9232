#include "settings/help_contexts.h"

#include <array>

namespace tarvik {

namespace {

struct HelpTopic {
  int context;
  std::string_view section;
};

// The numbers are the ones the pages have always opened; the sections are the manual's.
constexpr std::array<HelpTopic, 12> kTopics{{
    {kHelpStart, "start"},
    {5, "tabCfg"},
    {6, "tabApp"},
    {7, "tabSkin"},
    {8, "tabEditor"},
    {9, "tabInfo"},
    {11, "tabCur"},
    {12, "tabTar"},
    {13, "tabConn"},
    {14, "tabMsg"},
    {15, "tabStat"},
    {kHelpContents, "contents"},
}};

constexpr std::array<int, kPageCount> kPageContexts{5, 6, 7, 8, 9, 11, 12, 13, 14, 15};

}  // namespace

int pageHelpContext(PageId page) {
  const auto index = static_cast<std::size_t>(page);
  return index < kPageContexts.size() ? kPageContexts[index] : kHelpContents;
}

std::string_view helpSection(int context) {
  for (const HelpTopic& topic : kTopics)
    if (topic.context == context) return topic.section;
  return "contents";
}

}  // namespace tarvik
