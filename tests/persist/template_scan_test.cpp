#include "persist/template_scan.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <filesystem>
#include <string>

#include "tests/support/as_user.h"
#include "tests/support/scoped_env.h"
#include "tests/support/temp_dir.h"

namespace lq {
namespace {

namespace fs = std::filesystem;

class TemplateScan : public testing::Test {
 protected:
  // Creates the file (and its folders) below the scanned folder.
  void Add(const std::string& relative) {
    const fs::path file = root() / relative;
    fs::create_directories(file.parent_path());
    test::WriteFile(file.string(), "[Loomquill]\n");
  }
  void Folder(const std::string& relative) { fs::create_directories(root() / relative); }
  fs::path root() const { return dir_.path(); }
  std::string Scan() { return FormatTemplateTree(BuildTemplatesMenu(root())); }

  test::TempDir dir_;
};

TEST_F(TemplateScan, NoTemplatesGiveNoEntries) {
  Folder("empty");
  Add("notes.txt");
  const TemplatesMenu menu = BuildTemplatesMenu(root());
  EXPECT_TRUE(menu.Entries.empty());
  EXPECT_EQ(FormatTemplateTree(menu), "");
}

TEST_F(TemplateScan, SortsByteWiseWithTheSeparatorAfterEveryName) {
  for (const char* name : {"c.hqd", "B.hqd", "a.hqd", "html.hqd", "html2.hqd"}) Add(name);
  EXPECT_EQ(Scan(), "1303 B\n1304 a\n1305 c\n1306 html2\n1307 html\n");
}

TEST_F(TemplateScan, SubMenusFollowItemsAndTakeTheNextIds) {
  Add("Web/page.hqd");
  Add("z.hqd");
  Add("a.hqd");
  const TemplatesMenu menu = BuildTemplatesMenu(root());
  EXPECT_EQ(FormatTemplateTree(menu), "1303 a\n1304 z\nWeb/\n  1305 page\n");
  EXPECT_EQ(menu.FullNameFor(1305), (root() / "Web" / "page.hqd").string());
  EXPECT_EQ(menu.Entries[2].FullName, (root() / "Web").string());
}

TEST_F(TemplateScan, IdsRunDepthFirst) {
  for (const char* name : {"top.hqd", "A/x.hqd", "A/B/y.hqd", "A/w.hqd", "C/z.hqd", "A/B/C/v.hqd",
                           "web/1.hqd", "web2/2.hqd"}) {
    Add(name);
  }
  EXPECT_EQ(Scan(),
            "1303 top\n"
            "A/\n"
            "  1304 w\n"
            "  1305 x\n"
            "  B/\n"
            "    1306 y\n"
            "    C/\n"
            "      1307 v\n"
            "C/\n"
            "  1308 z\n"
            "web2/\n"
            "  1309 2\n"
            "web/\n"
            "  1310 1\n");
}

TEST_F(TemplateScan, EmptySubMenusArePrunedAtAnyDepth) {
  Add("keep/deep/er/t.hqd");
  Folder("only/an/empty/folder");
  Folder("a.hqd");  // a folder named like a template is still a folder
  Add("mixed/readme.txt");
  Folder("mixed/nothing");
  EXPECT_EQ(Scan(), "keep/\n  deep/\n    er/\n      1303 t\n");
}

struct FolderBoundCase {
  std::size_t max_folders;
  const char* tree;
  const char* cut_at;  // below the scanned folder; empty: not cut
};

TEST_F(TemplateScan, FolderBoundStopsTheScanAndSaysWhere) {
  // Folders are opened in menu order, depth first: ., a, b, b/c, b/c/d, e.
  for (const char* name :
       {"top.hqd", "a/t.hqd", "b/t.hqd", "b/c/t.hqd", "b/c/d/t.hqd", "e/t.hqd"}) {
    Add(name);
  }
  const FolderBoundCase cases[] = {
      {1, "1303 top\n", "a"},
      {2, "1303 top\na/\n  1304 t\n", "b"},
      {4, "1303 top\na/\n  1304 t\nb/\n  1305 t\n  c/\n    1306 t\n", "b/c/d"},
      {5, "1303 top\na/\n  1304 t\nb/\n  1305 t\n  c/\n    1306 t\n    d/\n      1307 t\n", "e"},
      {6,
       "1303 top\na/\n  1304 t\nb/\n  1305 t\n  c/\n    1306 t\n    d/\n      1307 t\ne/\n"
       "  1308 t\n",
       ""},
      {0,
       "1303 top\na/\n  1304 t\nb/\n  1305 t\n  c/\n    1306 t\n    d/\n      1307 t\ne/\n"
       "  1308 t\n",
       ""},
  };
  for (const FolderBoundCase& c : cases) {
    SCOPED_TRACE(c.max_folders);
    const TemplatesMenu menu = BuildTemplatesMenu(root(), ".hqd", kFirstTemplateId, kLastTemplateId,
                                                  {.max_folders = c.max_folders});
    EXPECT_EQ(FormatTemplateTree(menu), c.tree);
    EXPECT_EQ(menu.CutAt,
              *c.cut_at == '\0' ? "" : (root() / fs::path(c.cut_at).make_preferred()).string());
    EXPECT_EQ(menu.OtherFileSystems, 0u);
  }
}

#ifndef _WIN32  // folder links and permission bits are POSIX's
TEST_F(TemplateScan, FoldersBeyondTheDepthBoundAreNeverOpened) {
  // A template in every folder of a chain reaching two levels past the bound.
  std::string folder;
  for (int depth = 0; depth <= kTemplateScanDepth + 2; ++depth) {
    Add(folder + "t.hqd");
    folder += "d/";
  }
  const TemplatesMenu menu = BuildTemplatesMenu(root());
  ASSERT_EQ(menu.FullNames.size(), static_cast<std::size_t>(kTemplateScanDepth) + 1);
  EXPECT_EQ(menu.FullNames.back(),
            (root() / (folder.substr(0, 2 * kTemplateScanDepth) + "t.hqd")).string());
  // The menu ends at the last folder opened: no empty sub-menu for the one past it.
  const TemplateNode* node = &menu.Entries.back();
  for (int depth = 1; depth < kTemplateScanDepth; ++depth) node = &node->Children.back();
  ASSERT_EQ(node->Children.size(), 1u);
  EXPECT_FALSE(node->Children[0].SubMenu);
}

TEST_F(TemplateScan, OneFileSystemEntersNoMountedFolder) {
  // /proc is a file system of its own wherever Linux runs; the scan of "/" sees it at once.
  struct stat root_st {
  }, proc_st{};
  if (::stat("/", &root_st) != 0 || ::stat("/proc", &proc_st) != 0 ||
      root_st.st_dev == proc_st.st_dev) {
    GTEST_SKIP() << "no /proc mounted apart from /";
  }
  const TemplatesMenu bounded = BuildTemplatesMenu("/", ".hqd", kFirstTemplateId, kLastTemplateId,
                                                   {.max_folders = 1, .one_file_system = true});
  EXPECT_GE(bounded.OtherFileSystems, 1u);
  EXPECT_FALSE(bounded.FirstOtherFileSystem.empty());
  EXPECT_FALSE(bounded.CutAt.empty()) << "only / itself may be opened";
  const TemplatesMenu anywhere =
      BuildTemplatesMenu("/", ".hqd", kFirstTemplateId, kLastTemplateId, {.max_folders = 1});
  EXPECT_EQ(anywhere.OtherFileSystems, 0u);
  // On one file system nothing is left out.
  Add("a/t.hqd");
  const TemplatesMenu here =
      BuildTemplatesMenu(root(), ".hqd", kFirstTemplateId, kLastTemplateId, kListTemplatesBounds);
  EXPECT_EQ(FormatTemplateTree(here), "a/\n  1303 t\n");
  EXPECT_EQ(here.OtherFileSystems, 0u);
  EXPECT_TRUE(here.CutAt.empty());
}

TEST_F(TemplateScan, DotFoldersAndFolderLinksAreNotEntered) {
  Add(".svn/hidden.hqd");
  Add(".x/y/z.hqd");
  Add("real/t.hqd");
  fs::create_directory_symlink(root() / "real", root() / "alias");
  fs::create_symlink(root() / "real" / "t.hqd", root() / "linked.hqd");
  fs::create_symlink(root() / "missing.hqd", root() / "dangling.hqd");
  Add(".dotfile.hqd");
  EXPECT_EQ(Scan(), "1303 .dotfile\n1304 linked\nreal/\n  1305 t\n");
}
#endif

TEST_F(TemplateScan, ExtensionMatchesIgnoringCase) {
  Add("Upper.HQD");
  Add("x.hqd.bak");
  Add("a.b.hqd");
  Add(".hqd");
  EXPECT_EQ(Scan(), "1303 Upper\n1304 a.b\n");
}

#ifndef _WIN32  // folder links and permission bits are POSIX's
TEST_F(TemplateScan, UnreadableFolderAddsNothing) {
  Add("locked/t.hqd");
  Add("open/t.hqd");
  fs::permissions(root() / "locked", fs::perms::none, fs::perm_options::replace);
  // The superuser reads any folder: the scan runs as an ordinary user.
  const auto ok = test::AsOrdinaryUser([&] { return Scan() == "open/\n  1303 t\n"; });
  fs::permissions(root() / "locked", fs::perms::owner_all, fs::perm_options::replace);
  ASSERT_TRUE(ok.has_value()) << "could not drop the superuser's rights";
  EXPECT_TRUE(*ok);
}
#endif

TEST_F(TemplateScan, MissingFolderAddsNothing) {
  EXPECT_TRUE(BuildTemplatesMenu(root() / "nowhere").Entries.empty());
  Add("file.hqd");
  EXPECT_TRUE(BuildTemplatesMenu(root() / "file.hqd").Entries.empty());
}

TEST_F(TemplateScan, TemplatesBeyondTheLastIdAreLeftOut) {
  for (const char* name : {"a.hqd", "b.hqd", "sub/c.hqd", "sub/d.hqd", "tail/e.hqd"}) Add(name);
  const TemplatesMenu menu = BuildTemplatesMenu(root(), ".hqd", 1303, 1305);
  EXPECT_EQ(FormatTemplateTree(menu), "1303 a\n1304 b\nsub/\n  1305 c\n");
  EXPECT_EQ(menu.Skipped, 2u);
  EXPECT_EQ(menu.FullNameFor(1305), (root() / "sub" / "c.hqd").string());
  EXPECT_EQ(menu.FullNameFor(1306), "");
}

TEST_F(TemplateScan, DispatchedRangeHolds297Templates) {
  for (int i = 0; i < 300; ++i) Add("t" + std::to_string(1000 + i) + ".hqd");
  const TemplatesMenu menu = BuildTemplatesMenu(root());
  ASSERT_EQ(menu.Entries.size(), 297u);
  EXPECT_EQ(menu.Entries.back().CommandId, kLastTemplateId);
  EXPECT_EQ(menu.Skipped, 3u);
}

TEST_F(TemplateScan, AppendedFolderTakesTheNextIdsAfterTheFirst) {
  for (const char* name : {"shipped/b.hqd", "shipped/a.hqd", "shipped/Web/page.hqd",
                           "user/mine.hqd", "user/a.hqd", "user/Work/w.hqd"}) {
    Add(name);
  }
  TemplatesMenu menu = BuildTemplatesMenu(root() / "shipped");
  AppendTemplatesMenu(menu, root() / "user");
  EXPECT_EQ(FormatTemplateTree(menu),
            "1303 a\n1304 b\nWeb/\n  1305 page\n1306 a\n1307 mine\nWork/\n  1308 w\n");
  EXPECT_EQ(menu.AppendedAt, 3u);
  EXPECT_EQ(menu.FullNameFor(1305), (root() / "shipped" / "Web" / "page.hqd").string());
  EXPECT_EQ(menu.FullNameFor(1306), (root() / "user" / "a.hqd").string());
  EXPECT_EQ(menu.FullNameFor(1308), (root() / "user" / "Work" / "w.hqd").string());
}

TEST_F(TemplateScan, AppendedFolderSharesTheDispatchedRange) {
  for (const char* name : {"shipped/a.hqd", "shipped/b.hqd", "user/c.hqd", "user/d.hqd"}) Add(name);
  TemplatesMenu menu = BuildTemplatesMenu(root() / "shipped", ".hqd", 1303, 1305);
  AppendTemplatesMenu(menu, root() / "user", ".hqd", 1305);
  EXPECT_EQ(FormatTemplateTree(menu), "1303 a\n1304 b\n1305 c\n");
  EXPECT_EQ(menu.Skipped, 1u);

  TemplatesMenu alone = BuildTemplatesMenu(root() / "shipped");
  AppendTemplatesMenu(alone, root() / "nowhere");
  EXPECT_EQ(alone.AppendedAt, alone.Entries.size()) << "nothing appended";
}

TEST_F(TemplateScan, LookupByCommandId) {
  Add("a.hqd");
  Add("b.hqd");
  const TemplatesMenu menu = BuildTemplatesMenu((root() / "").string());
  EXPECT_EQ(menu.FullNameFor(1303), (root() / "a.hqd").string());
  EXPECT_EQ(menu.FullNameFor(1304), (root() / "b.hqd").string());
  EXPECT_EQ(menu.FullNameFor(1302), "");
  EXPECT_EQ(menu.FullNameFor(1305), "");
}

TEST(PruneEmptyPopups, RemovesMenusWithoutItemsBelowThem) {
  TemplateNode item{"t", 1303, "/t.hqd", false, {}};
  TemplateNode empty_inner{"inner", 0, "/a/inner", true, {}};
  TemplateNode outer{"outer", 0, "/a", true, {empty_inner, empty_inner}};
  TemplateNode full{"full", 0, "/f", true, {outer, item}};
  std::vector<TemplateNode> entries{outer, item, full, outer};
  PruneEmptyPopups(entries);
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].Title, "t");
  EXPECT_EQ(entries[1].Title, "full");
  ASSERT_EQ(entries[1].Children.size(), 1u);
  EXPECT_EQ(entries[1].Children[0].Title, "t");
}

}  // namespace
}  // namespace lq
