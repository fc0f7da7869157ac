#include "resources/xpm_image.h"

#include <gtest/gtest.h>
#include <wx/image.h>

#include <cstring>
#include <string>

#include "resources/art/cursor_hand.xpm"
#include "resources/art/cursor_normal.xpm"
#include "resources/art/tool_clear.xpm"
#include "resources/art/tool_clear_64.xpm"
#include "resources/art/tool_create.xpm"
#include "resources/art/tool_create_64.xpm"
#include "resources/art/tool_preview.xpm"
#include "resources/art/tool_preview_64.xpm"
#include "resources/art/tool_view.xpm"
#include "resources/art/tool_view_64.xpm"

namespace lq {
namespace {

// The toolkit's decoder is the reference: the same size, pixels, mask and mask colour.
void ExpectAsTheToolkitDecodes(const char* const* xpm, const std::string& what) {
  const wxImage ours = DecodeXpm(xpm);
  const wxImage theirs(xpm);
  ASSERT_EQ(ours.IsOk(), theirs.IsOk()) << what;
  if (!theirs.IsOk()) return;
  ASSERT_EQ(ours.GetSize(), theirs.GetSize()) << what;
  ASSERT_EQ(ours.HasMask(), theirs.HasMask()) << what;
  EXPECT_EQ(ours.HasAlpha(), theirs.HasAlpha()) << what;
  if (theirs.HasMask()) {
    EXPECT_EQ(ours.GetMaskRed(), theirs.GetMaskRed()) << what;
    EXPECT_EQ(ours.GetMaskGreen(), theirs.GetMaskGreen()) << what;
    EXPECT_EQ(ours.GetMaskBlue(), theirs.GetMaskBlue()) << what;
  }
  const std::size_t bytes = static_cast<std::size_t>(theirs.GetWidth() * theirs.GetHeight() * 3);
  EXPECT_EQ(std::memcmp(ours.GetData(), theirs.GetData(), bytes), 0) << what;
}

TEST(XpmImage, TheArtDecodesAsTheToolkitDecodesIt) {
  struct Art {
    const char* name;
    const char* const* xpm;
  };
  for (const Art& art :
       {Art{"cursor_hand", cursor_hand_xpm}, Art{"cursor_normal", cursor_normal_xpm},
        Art{"tool_clear", tool_clear_xpm}, Art{"tool_clear_64", tool_clear_64_xpm},
        Art{"tool_create", tool_create_xpm}, Art{"tool_create_64", tool_create_64_xpm},
        Art{"tool_preview", tool_preview_xpm}, Art{"tool_preview_64", tool_preview_64_xpm},
        Art{"tool_view", tool_view_xpm}, Art{"tool_view_64", tool_view_64_xpm}}) {
    ExpectAsTheToolkitDecodes(art.xpm, art.name);
  }
}

// Forms the fast way does not take go to the toolkit, and so still decode as it does.
TEST(XpmImage, OtherFormsDecodeAsTheToolkitDecodesThem) {
  static const char* const kNoMask[] = {"2 2 2 1", "a c #102030", "b c #FFFFFF", "ab", "ba"};
  // The mask colour must step past (1, 0, 0) and (2, 0, 0), which pixels have.
  static const char* const kMaskStepsOn[] = {"3 1 3 1", ". c None", "a c #010000", "b c #020000",
                                             ".ab"};
  static const char* const kNamedColour[] = {"2 1 2 1", "a c red", "b c #000000", "ab"};
  static const char* const kTwoPerPixel[] = {"2 1 2 2", "aa c #FF0000", "bb c None", "aabb"};
  static const char* const kLowerCaseHex[] = {"1 1 1 1", "a c #abcdef", "a"};
  struct Case {
    const char* what;
    const char* const* xpm;
  };
  for (const Case& c : {Case{"no mask", kNoMask}, Case{"mask steps on", kMaskStepsOn},
                        Case{"named colour", kNamedColour}, Case{"two per pixel", kTwoPerPixel},
                        Case{"lower-case hex", kLowerCaseHex}}) {
    ExpectAsTheToolkitDecodes(c.xpm, c.what);
  }
}

TEST(XpmImage, BrokenDataGivesNoImage) {
  static const char* const kShortRow[] = {"3 1 1 1", "a c #000000", "aa"};
  static const char* const kUnknownKey[] = {"2 1 1 1", "a c #000000", "az"};
  for (const char* const* xpm : {kShortRow, kUnknownKey}) {
    EXPECT_FALSE(DecodeXpm(xpm).IsOk()) << xpm[0];
  }
}

}  // namespace
}  // namespace lq
