// Quotes that do not fit the escaping, as the window says them before Create: above the
// preview's lines and in the status bar.
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "resources/ids.h"
#include "shell/preview_frame.h"
#include "tests/gui/shell/shell_fixture.h"

namespace lq::test {
namespace {

constexpr const char* kShellInDouble =
    "header: the name is inside double quotes, but the shell kind escapes for single quotes";
constexpr const char* kBatchBare =
    "header: the name is outside double quotes, but the batch kind escapes for double quotes";
constexpr const char* kBatchHead =
    "main head: ZQ_NAME is outside double quotes, but the batch kind escapes for double quotes";

class QuoteWarningTest : public ShellTest {
 protected:
  void SetUp() override {
    kit_.UseFakeTime();
    ShellTest::SetUp();
  }

 public:  // table-driven steps call the helpers from lambdas
  PreviewFrame* Window() const { return dlg()->preview().window(); }
  std::string Out() const { return (work_ / "out" / "script.txt").string(); }
  // The warnings' label as one line: its wrapping taken back out.
  std::string Label() const {
    wxString text = Window()->warnings_label()->GetLabelText();
    text.Replace("\n", " ");
    return text.utf8_string();
  }
  std::string Message() const { return status()->MessageText(); }
};

TEST_F(QuoteWarningTest, AMismatchShowsAboveThePreviewsLinesAndInTheStatusBar) {
  Start();
  SetOutput(Out());
  Command(ids::kPreview);
  ASSERT_NE(Window(), nullptr);
  EXPECT_FALSE(Window()->warnings_label()->IsShown());
  OpenListOf({Src("a b.txt")});
  Type(ids::kHeader, "cp -- \"");
  Type(ids::kQueue, "\" /b\n");
  Command(ids::kEscapeShell);
  kit_.timers.Advance(150);

  EXPECT_EQ(Window()->warnings(), std::vector<std::string>{kShellInDouble});
  EXPECT_TRUE(Window()->warnings_label()->IsShown());
  EXPECT_EQ(Label(), std::string("Warning: ") + kShellInDouble);
  EXPECT_LT(Window()->warnings_label()->GetPosition().y, Window()->view()->GetPosition().y)
      << "above the lines";
  EXPECT_EQ(Message(), std::string("Warning: ") + kShellInDouble);
  // The lines stay exactly what Create writes; the warning stops nothing.
  EXPECT_EQ(Window()->text(), "cp -- \"" + Src("a b.txt") + "\" /b\n");
  Command(ids::kCreate);
  EXPECT_TRUE(prompts_.messages.empty());
  EXPECT_EQ(ReadAll(Out()), Window()->text());

  // Quotes that fit: the warning goes from both, and the status bar shows the output file.
  Type(ids::kHeader, "cp -- '");
  Type(ids::kQueue, "' /b\n");
  kit_.timers.Advance(150);
  EXPECT_TRUE(Window()->warnings().empty());
  EXPECT_FALSE(Window()->warnings_label()->IsShown());
  EXPECT_EQ(Message(), Out());
}

struct Step {
  const char* what;
  std::function<void(QuoteWarningTest&)> act;
  std::string want;  // the status bar's message; empty: the output file
};

// The status bar follows the kind, the path mode and every text at once, with the preview
// closed.
TEST_F(QuoteWarningTest, TheStatusBarFollowsEachChangeWithoutThePreview) {
  Start();
  SetOutput(Out());
  OpenListOf({Src("a.txt")});
  const std::vector<Step> steps = {
      {"unquoted, kind none",
       [](QuoteWarningTest& t) {
         t.Type(ids::kHeader, "copy ");
         t.Type(ids::kQueue, " D:\\b\n");
       },
       ""},
      {"kind batch", [](QuoteWarningTest& t) { t.Command(ids::kEscapeBatch); },
       std::string("Warning: ") + kBatchBare},
      {"path mode none", [](QuoteWarningTest& t) { t.ChooseRadio(ids::kModeNone); }, ""},
      {"main head",
       [](QuoteWarningTest& t) { t.MainText(ids::kSetMainHead, "copy ZQ_NAME\n", true); },
       std::string("Warning: ") + kBatchHead},
      {"path mode full", [](QuoteWarningTest& t) { t.ChooseRadio(ids::kModeFull); },
       std::string("Warning: ") + kBatchHead},
      {"main head quoted",
       [](QuoteWarningTest& t) { t.MainText(ids::kSetMainHead, "copy \"ZQ_NAME\"\n", true); },
       std::string("Warning: ") + kBatchBare},
      {"header typed with its quote", [](QuoteWarningTest& t) { t.Type(ids::kHeader, "copy \""); },
       ""},
      {"kind shell", [](QuoteWarningTest& t) { t.Command(ids::kEscapeShell); },
       "Warning: main head: ZQ_NAME is inside double quotes, but the shell kind escapes for "
       "single quotes"},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.what);
    step.act(*this);
    EXPECT_EQ(Message(), step.want.empty() ? Out() : step.want);
  }
  EXPECT_FALSE(dlg()->preview().IsOpen());
  // A hint still goes over the warning, and the warning comes back after it.
  const std::string hint = "a hint";
  status()->SetHint(&hint);
  EXPECT_EQ(status()->ShownText(), hint);
  status()->SetHint(nullptr);
  EXPECT_EQ(status()->ShownText(), Message());
}

// Every sample template shipped fits its kind: nothing in the preview, nothing in the bar.
TEST_F(QuoteWarningTest, EachShippedSampleShowsNone) {
  const char* source = std::getenv("LQ_SOURCE_DIR");
  ASSERT_NE(source, nullptr);
  const fs::path samples = fs::path(source) / "templates";
  int copied = 0;
  for (const auto& entry : fs::recursive_directory_iterator(samples)) {
    if (entry.path().extension() != ".hqd") continue;
    WriteProgramFile(fs::relative(entry.path(), samples).string(), ReadAll(entry.path()));
    ++copied;
  }
  ASSERT_GE(copied, 8);
  Start();
  SetOutput(Out());
  OpenListOf({Src("a b.txt"), Src("sub/it's.mp3")});
  Command(ids::kPreview);
  ASSERT_NE(Window(), nullptr);
  int loaded = 0;
  for (int id = ids::kFirstTemplate; id <= ids::kLastTemplate; ++id) {
    const std::string file = dlg()->templates().FullNameFor(id);
    if (file.empty()) continue;
    SCOPED_TRACE(file);
    Command(id);
    ++loaded;
    EXPECT_TRUE(Window()->warnings().empty()) << Window()->warnings().front();
    EXPECT_FALSE(Window()->warnings_label()->IsShown());
    EXPECT_EQ(Message(), dlg()->settings().FileOutput);
  }
  EXPECT_EQ(loaded, copied);
}

}  // namespace
}  // namespace lq::test
