// What a screen reader reads: the design's typos spelled right, nothing else changed.
#include "uikit/grafext/spoken_name.h"

#include <gtest/gtest.h>

#include <string>

namespace lq {
namespace {

struct Case {
  const char* shown;
  const char* spoken;
};

class SpokenNameTest : public testing::TestWithParam<Case> {};

TEST_P(SpokenNameTest, ReadsTheCaptionSpelledRight) {
  EXPECT_EQ(SpokenName(GetParam().shown), GetParam().spoken);
}

INSTANTIATE_TEST_SUITE_P(
    Captions, SpokenNameTest,
    testing::Values(
        // Each of the design's typos, where its texts have it.
        Case{"Full Paht", "Full Path"}, Case{"Set output file,,,", "Set output file..."},
        Case{"Vew last created output", "View last created output"},
        Case{"Try to launch output file using Windows assocation",
             "Try to launch output file using Windows association"},
        Case{"Check to save local informations (output file, relpath) in templates",
             "Check to save local information (output file, relpath) in templates"},
        // Right already, empty, or the typo's letters inside another word: kept.
        Case{"Relative Path", "Relative Path"}, Case{"", ""}, Case{"Vewer Pahts", "Vewer Pahts"},
        Case{"Open list...", "Open list..."},
        // Two in one text, and a typo at either end.
        Case{"Paht,,,", "Path..."}, Case{"Vew", "View"}));

}  // namespace
}  // namespace lq
