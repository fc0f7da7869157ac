#include "engine/direct_line.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "engine/compiled_text.h"
#include "engine/composer.h"
#include "engine/script_settings.h"
#include "engine/tail_scan.h"
#include "tests/engine/compose_reference.h"

namespace lq {
namespace {

constexpr PathStyle kPosix = PathStyle::kPosix;

ScriptSettings Settings(PathMode mode, EscapeKind escape, std::string rel = "/home/u/") {
  ScriptSettings s;
  s.CheckIndex = CheckIndexOf(mode);
  s.Escape = escape;
  s.RelPath = std::move(rel);
  return s;
}

// A name held in storage of exactly its own size, so that AddressSanitizer sees any read
// past its end.
class Exact {
 public:
  explicit Exact(std::string_view name) : bytes_(name.begin(), name.end()) {}
  std::string_view view() const { return {bytes_.data(), bytes_.size()}; }

 private:
  std::vector<char> bytes_;
};

// The line DirectLine writes for name, or nothing when it leaves the name to the values' way.
template <bool kEscaping>
std::optional<std::string> Direct(DirectLine& d, long long index, std::string_view name) {
  std::vector<char> room(DirectLine::kRoom);
  char* end = d.Write<kEscaping>(room.data(), index, Exact(name).view());
  if (end == nullptr) return std::nullopt;
  return std::string(room.data(), end);
}

struct Job {
  PathMode mode;
  EscapeKind escape;
  const char* header;
  const char* queue;
};

// Jobs whose pieces meet: ranges of the name joined, literal runs joined over an empty value.
constexpr Job kJobs[] = {
    {PathMode::kFull, EscapeKind::kNone, "", "\n"},
    {PathMode::kFull, EscapeKind::kShell, "cp -- '", "' '/b/ZQ_GETSELINDEX-ZQ_NAMEZQ_EXT'\n"},
    {PathMode::kName, EscapeKind::kShell, "cp -- '", "' '/b/ZQ_GETCOUNT-ZQ_PATHZQ_NAME'\n"},
    {PathMode::kNone, EscapeKind::kShell, "cp -- '", "' '/b/ZQ_NAMEZQ_EXT'\n"},
    {PathMode::kRelative, EscapeKind::kShell, "cp -- '", "' 'ZQ_EXTZQ_NAME'\n"},
    {PathMode::kRelative, EscapeKind::kNone, "ZQ_DRIVE", "ZQ_DRIVE|ZQ_PATHZQ_NAMEZQ_EXT|\n"},
    {PathMode::kName, EscapeKind::kCsv, "\"ZQ_PATH", "\",\"ZQ_EXT\",ZQ_GETSELINDEXZQ_GETCOUNT\n"},
    {PathMode::kFull, EscapeKind::kCsv, "\"ZQ_PATHZQ_PATH", "ZQ_NAMEZQ_NAME\"\n"},
};

// Names at the edges of the blocks the writer reads: 16 bytes and round them, short parts
// in the name's last 16 bytes and straddling them, and parts that escape or not, in turn.
std::vector<std::string> EdgeNames() {
  std::vector<std::string> names;
  for (std::size_t size : {15, 16, 17, 31, 32, 33, 47, 48, 49, 63, 64, 65, 95, 96, 97}) {
    for (const char* tail : {"/a.b", "/ab", "/.h", "/", "/x.", "/it's.x", "/a\"b.c"}) {
      std::string name = std::string(tail);
      const std::size_t fill = size > name.size() + 1 ? size - name.size() - 1 : 0;
      name = "/" + std::string(fill, 'd') + name;
      names.push_back(name);
    }
  }
  // A quote only in the folder, only in the last part, and nowhere.
  names.push_back("/home/u/Guns N' Roses 12/Disc 3/track 0001.mp3");
  names.push_back("/home/u/Music/Band 12/Disc 3/it's 0001.mp3");
  names.push_back("/home/u/Music/Band 12/Disc 3/track 0001.mp3");
  // The relative folder /home/u/ is a prefix of a sibling's name, not its folder.
  names.push_back("/home/uv/Music/Band 12/a.mp3");
  names.push_back("/home/u/a long enough name.txt");
  names.push_back("/home/u");
  names.push_back("/home/u/");
  names.push_back("/home/one more folder/x.y");
  names.push_back("/srv/media/Photos/IMG_ 0001.jpg");
  names.push_back("relative/name/of some length.txt");
  return names;
}

TEST(DirectLine, AgreesWithTheReferenceAtEveryEdge) {
  const std::vector<std::string> names = EdgeNames();
  for (const Job& job : kJobs) {
    for (const char* rel : {"/home/u/", "/", "/home/u/Music/Band 12/Disc 3/"}) {
      const ScriptSettings s = Settings(job.mode, job.escape, rel);
      DirectLine direct(CompileText(job.header, Eol::kLf), CompileText(job.queue, Eol::kLf), s,
                        kPosix);
      ASSERT_TRUE(direct.on());
      test::ReferenceComposer reference(s, kPosix, Eol::kLf, job.header, job.queue);
      // Indices cross a digit's carry, line after line.
      long long index = 8;
      for (int pass = 0; pass < 2; ++pass) {
        for (const std::string& name : names) {
          const test::Composed want = reference.Line(name, index);
          const std::optional<std::string> got = job.escape == EscapeKind::kNone
                                                     ? Direct<false>(direct, index, name)
                                                     : Direct<true>(direct, index, name);
          const std::string where = std::string(job.header) + "|" + job.queue + "|" + rel + "|" +
                                    name + "|" + std::to_string(index);
          ASSERT_FALSE(want.refused) << where;
          if (got) {
            EXPECT_EQ(*got, want.text) << where;
          }
          // Absolute names of 16 bytes or more whose end shows their last separator are all
          // written here.
          TailMarks marks;
          if (name.size() >= 16 && name[0] == '/' && FindPosixTail(name, marks)) {
            EXPECT_TRUE(got.has_value()) << where;
          }
          index = index == 8 ? 99 : index + 1;
        }
      }
    }
  }
}

TEST(DirectLine, ShortNamesAndOtherJobsAreLeftToTheValues) {
  DirectLine full(CompileText("", Eol::kLf), CompileText("\n", Eol::kLf),
                  Settings(PathMode::kFull, EscapeKind::kNone), kPosix);
  EXPECT_EQ(Direct<false>(full, 0, "/fifteen bytes."), std::nullopt);
  EXPECT_EQ(Direct<false>(full, 0, "/sixteen bytes.."), "/sixteen bytes..\n");
  // No separator in the last 32 bytes: the usual look cannot find the last part.
  DirectLine name(CompileText("", Eol::kLf), CompileText("\n", Eol::kLf),
                  Settings(PathMode::kName, EscapeKind::kNone), kPosix);
  EXPECT_EQ(Direct<false>(name, 0, "/" + std::string(40, 'n')), std::nullopt);
  // Kinds that refuse, or escape more than one byte, and what only the values know.
  for (const EscapeKind kind : {EscapeKind::kBatch, EscapeKind::kHtml, EscapeKind::kUrl,
                                EscapeKind::kJson, EscapeKind::kHtmlUrl, EscapeKind::kLine}) {
    EXPECT_FALSE(DirectLine(CompileText("", Eol::kLf), CompileText("", Eol::kLf),
                            Settings(PathMode::kFull, kind), kPosix)
                     .on());
  }
  EXPECT_FALSE(DirectLine(CompileText("ZQ_RELPATH", Eol::kLf), CompileText("", Eol::kLf),
                          Settings(PathMode::kFull, EscapeKind::kNone), kPosix)
                   .on());
  EXPECT_FALSE(DirectLine(CompileText("", Eol::kLf), CompileText("", Eol::kLf),
                          Settings(PathMode::kFull, EscapeKind::kNone), PathStyle::kWindows)
                   .on());
  ScriptSettings inverted = Settings(PathMode::kFull, EscapeKind::kNone);
  inverted.InvertSlash = true;
  EXPECT_FALSE(
      DirectLine(CompileText("", Eol::kLf), CompileText("", Eol::kLf), inverted, kPosix).on());
}

TEST(DirectLine, MoreClimbsThanTheGeneralWayTakesAreLeftToTheValues) {
  std::string deep = "/";
  for (int i = 0; i < 60; ++i) deep += "a/";
  const ScriptSettings s = Settings(PathMode::kRelative, EscapeKind::kNone, deep);
  DirectLine direct(CompileText("", Eol::kLf), CompileText("\n", Eol::kLf), s, kPosix);
  EXPECT_EQ(Direct<false>(direct, 0, "/top level name.txt"), std::nullopt);
  std::string climbs;
  for (int i = 0; i < 50; ++i) climbs += "../";
  EXPECT_EQ(Direct<false>(direct, 0, "/a/a/a/a/a/a/a/a/a/a/a/x.txt"),
            climbs.substr(0, 3 * 49) + "x.txt\n");
  // Through the composer the line is the reference's either way.
  Composer c(s, kPosix, Eol::kLf, "", "\n");
  test::ReferenceComposer reference(s, kPosix, Eol::kLf, "", "\n");
  for (const char* name : {"/top level name.txt", "/a/a/a/a/a/a/a/a/a/a/a/x.txt"}) {
    std::vector<char> room(Composer::kLineRoom);
    char* end = c.WriteLineTo(room.data(), 0, name);
    ASSERT_NE(end, nullptr);
    EXPECT_EQ(std::string(room.data(), end), reference.Line(name, 0).text) << name;
  }
}

TEST(DirectLine, AnEscapedLineThatMightNotFitIsLeftToTheValues) {
  // 800 quotes grow fourfold: past the line's capacity, so the values' way decides.
  const std::string quotes = "/" + std::string(800, '\'') + "/x.y";
  DirectLine shell(CompileText("'", Eol::kLf), CompileText("'\n", Eol::kLf),
                   Settings(PathMode::kFull, EscapeKind::kShell), kPosix);
  EXPECT_EQ(Direct<true>(shell, 0, quotes), std::nullopt);
  const std::string few = "/" + std::string(100, '\'') + "/x.y";
  std::string want = "'/";
  for (int i = 0; i < 100; ++i) want += "'\\''";
  EXPECT_EQ(Direct<true>(shell, 0, few), want + "/x.y'\n");
}

TEST(DirectLine, TheComposerWritesEveryCommonLineThisWay) {
  // Through the composer, moved: the literal runs
  // must still be found.
  const ScriptSettings s = Settings(PathMode::kName, EscapeKind::kShell);
  Composer first(s, kPosix, Eol::kLf, "cp -- '", "' 'ZQ_NAMEZQ_EXT'\n");
  Composer c(std::move(first));
  std::vector<char> room(Composer::kLineRoom);
  char* end = c.WriteLineTo(room.data(), 0, "/home/u/Guns N' Roses/track 01.mp3");
  ASSERT_NE(end, nullptr);
  EXPECT_EQ(std::string(room.data(), end), "cp -- 'track 01.mp3' 'track 01.mp3'\n");
}

}  // namespace
}  // namespace lq
