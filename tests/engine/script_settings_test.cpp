#include "engine/script_settings.h"

#include <gtest/gtest.h>

namespace lq {
namespace {

TEST(OneLineForm, Table) {
  const std::pair<const char*, const char*> cases[] = {
      {"  a\r\nb  ", "a /n b"}, {"", ""},           {"   ", ""},
      {"\ta\t", "\ta\t"},       {"x\ny", "x /n y"}, {"one\r\n\r\ntwo", "one /n  /n two"},
  };
  for (const auto& [in, out] : cases) EXPECT_EQ(OneLineForm(in), out) << in;
}

TEST(SetRelPathFromOutput, CutsAfterTheLastSeparator) {
  ScriptSettings s;
  s.FileOutput = R"(C:\Users\me\Desktop\ZQScript.txt)";
  s.SetRelPathFromOutput(PathStyle::kWindows);
  EXPECT_EQ(s.RelPath, R"(C:\Users\me\Desktop\)");
  s.FileOutput = "/home/u/Desktop/ZQScript.txt";
  s.SetRelPathFromOutput(PathStyle::kPosix);
  EXPECT_EQ(s.RelPath, "/home/u/Desktop/");
  s.FileOutput = "out.txt";
  s.SetRelPathFromOutput(PathStyle::kPosix);
  EXPECT_EQ(s.RelPath, "out.txt");
}

TEST(EffectiveMode, UnknownValuesMeanFullPath) {
  EXPECT_EQ(EffectiveMode(7), PathMode::kFull);
  EXPECT_EQ(EffectiveMode(-1), PathMode::kFull);
  EXPECT_EQ(EffectiveMode(1), PathMode::kRelative);
  EXPECT_EQ(EffectiveMode(3), PathMode::kNone);
}

}  // namespace
}  // namespace lq
