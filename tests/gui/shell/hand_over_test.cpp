// Files handed to the running window: those of one start and those of starts in a row become
// one copy, in the order given, after one notice that says how many.
#include <chrono>
#include <future>
#include <thread>

#include "platform/hand_over_channel.h"
#include "shell/hand_over_inbox.h"
#include "tests/gui/shell/shell_fixture.h"

namespace lq::test {
namespace {

constexpr const char* kTexts = "CheckIndex=2\nHeader=<cp \">\nQueue=<\" /b/#ZQ_BR#>\n";

struct JoinCase {
  const char* what;
  int send_to;
  std::vector<std::string> names;
  const char* copied;
  const char* notice;
};

void PrintTo(const JoinCase& c, std::ostream* os) { *os << c.what; }

class ReceiveFilesTest : public ShellTest, public testing::WithParamInterface<JoinCase> {};

TEST_P(ReceiveFilesTest, OneNoticeThenOneCopyInTheOrderGiven) {
  WriteSettings(std::string(kTexts) + "SendToIndex=" + std::to_string(GetParam().send_to) + "\n");
  Start();
  std::vector<std::string> names;
  for (const std::string& name : GetParam().names) names.push_back(Src(name));
  dlg()->ReceiveFiles(names);
  EXPECT_EQ(clipboard_.text, GetParam().copied);
  EXPECT_EQ(clipboard_.set_count, 1);
  ASSERT_EQ(clock_.notices.size(), 1u);
  std::string notice = GetParam().notice;
  for (std::size_t at; (at = notice.find("SRC/")) != std::string::npos;) {
    notice.replace(at, 4, Src(""));
  }
  EXPECT_EQ(clock_.notices[0].text, notice);
  EXPECT_EQ(clock_.notices[0].caption, "Copying...");
  EXPECT_EQ(clock_.notices[0].ms, 600);
  EXPECT_EQ(clock_.notices[0].clipboard_before, std::nullopt) << "the copy follows the notice";
  EXPECT_EQ(dlg()->pending_file(), "");
  EXPECT_EQ(Counter(), "0/0") << "the list is not touched";
}

INSTANTIATE_TEST_SUITE_P(
    SendToModes, ReceiveFilesTest,
    testing::Values(
        JoinCase{"one_name", 0, {"a.txt"}, "a.txt", "SRC/a.txt"},
        JoinCase{"names_one_a_line",
                 0,
                 {"c.txt", "a.txt", "b.txt"},
                 "c.txt\na.txt\nb.txt",
                 "3 files\nSRC/c.txt\n...\nSRC/b.txt"},
        JoinCase{
            "two_names", 0, {"z.txt", "y.txt"}, "z.txt\ny.txt", "2 files\nSRC/z.txt\nSRC/y.txt"},
        JoinCase{"lines_as_create_writes_them",
                 1,
                 {"c.txt", "a.txt", "b.txt"},
                 "cp \"c.txt\" /b/\ncp \"a.txt\" /b/\ncp \"b.txt\" /b/\n",
                 "3 files\nSRC/c.txt\n...\nSRC/b.txt"},
        JoinCase{"a_name_twice_is_copied_twice",
                 0,
                 {"a.txt", "a.txt"},
                 "a.txt\na.txt",
                 "2 files\nSRC/a.txt\nSRC/a.txt"}),
    [](const testing::TestParamInfo<JoinCase>& info) { return info.param.what; });

class HandOverTest : public ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    kit_.UseFakeTime();
  }
  // An inbox whose deliveries go to the window, as the program's do.
  std::unique_ptr<HandOverInbox> Inbox(std::unique_ptr<HandOverListener> listener = nullptr) {
    return std::make_unique<HandOverInbox>(std::move(listener), [this](const HandOver& joined) {
      delivered.push_back(joined);
      dlg()->ReceiveFiles(joined.names, joined.activation_token);
    });
  }
  void Add(HandOverInbox& inbox, std::vector<std::string> names, std::string token = {}) {
    inbox.Add({std::move(names), std::move(token)});
  }
  std::vector<HandOver> delivered;
};

TEST_F(HandOverTest, HandOversInARowAreOneCopyInArrivalOrder) {
  WriteSettings("CheckIndex=0\n");
  Start();
  auto inbox = Inbox();
  Add(*inbox, {"/f/3", "/f/1"}, "tok-a");
  kit_.timers.Advance(HandOverInbox::kQuietMs - 1);
  Add(*inbox, {"/f/2"});
  kit_.timers.Advance(HandOverInbox::kQuietMs - 1);
  Add(*inbox, {"/f/0"}, "tok-b");
  kit_.timers.Advance(HandOverInbox::kQuietMs - 1);
  EXPECT_TRUE(delivered.empty()) << "delivered before the hand-overs stopped";
  EXPECT_EQ(clipboard_.set_count, 0);
  kit_.timers.Advance(1);
  ASSERT_EQ(delivered.size(), 1u);
  const HandOver expected{{"/f/3", "/f/1", "/f/2", "/f/0"}, "tok-b"};
  EXPECT_EQ(delivered[0], expected) << "the token that came last";
  EXPECT_EQ(clipboard_.text, "/f/3\n/f/1\n/f/2\n/f/0");
  EXPECT_EQ(clipboard_.set_count, 1);
  ASSERT_EQ(clock_.notices.size(), 1u);
  EXPECT_EQ(clock_.notices[0].text, "4 files\n/f/3\n...\n/f/0");
  EXPECT_EQ(inbox->waiting(), 0u);
}

// Each start of a batch but the last is told done as soon as a later token replaces its own,
// so that no launcher waits on a start whose names were taken.
TEST_F(HandOverTest, EachReplacedTokenIsToldAtOnceAndTheLastIsDelivered) {
  WriteSettings("CheckIndex=0\n");
  Start();
  auto inbox = Inbox();
  std::vector<std::string> superseded;
  inbox->OnSupersededToken([&](const std::string& token) { superseded.push_back(token); });
  Add(*inbox, {"/a"}, "tok-a");
  Add(*inbox, {"/b"});
  EXPECT_TRUE(superseded.empty()) << "a hand-over without a token replaces none";
  Add(*inbox, {"/c"}, "tok-c");
  Add(*inbox, {"/d"}, "tok-d");
  EXPECT_EQ(superseded, (std::vector<std::string>{"tok-a", "tok-c"}));
  kit_.timers.Advance(HandOverInbox::kQuietMs);
  ASSERT_EQ(delivered.size(), 1u);
  EXPECT_EQ(delivered[0].activation_token, "tok-d");
  // A new batch starts afresh.
  Add(*inbox, {"/e"}, "tok-e");
  kit_.timers.Advance(HandOverInbox::kQuietMs);
  EXPECT_EQ(superseded.size(), 2u);
  ASSERT_EQ(delivered.size(), 2u);
  EXPECT_EQ(delivered[1].activation_token, "tok-e");
}

TEST_F(HandOverTest, AHandOverAfterAQuietSpellIsACopyOfItsOwn) {
  WriteSettings("CheckIndex=0\n");
  Start();
  auto inbox = Inbox();
  Add(*inbox, {"/a"});
  kit_.timers.Advance(HandOverInbox::kQuietMs);
  Add(*inbox, {"/b"});
  kit_.timers.Advance(HandOverInbox::kQuietMs);
  ASSERT_EQ(delivered.size(), 2u);
  EXPECT_EQ(delivered[0].names, std::vector<std::string>{"/a"});
  EXPECT_EQ(delivered[1].names, std::vector<std::string>{"/b"});
  EXPECT_EQ(clipboard_.text, "/b");
}

TEST_F(HandOverTest, HandOversThatNeverStopAreDeliveredAfterTheLongestWait) {
  WriteSettings("CheckIndex=0\n");
  Start();
  auto inbox = Inbox();
  std::vector<std::string> sent;
  long long at = 0;
  while (delivered.empty() && at < 10 * HandOverInbox::kLongestWaitMs) {
    sent.push_back("/f/" + std::to_string(at));
    Add(*inbox, {sent.back()});
    kit_.timers.Advance(HandOverInbox::kQuietMs / 2);
    at += HandOverInbox::kQuietMs / 2;
  }
  ASSERT_EQ(delivered.size(), 1u);
  EXPECT_LE(at, HandOverInbox::kLongestWaitMs + HandOverInbox::kQuietMs / 2);
  EXPECT_EQ(delivered[0].names, sent);
}

// A delivery that runs the event loop (a message box) lets hand-overs in meanwhile: they are
// the next delivery, never one inside it.
TEST_F(HandOverTest, ADeliveryIsNeverEnteredTwice) {
  WriteSettings("CheckIndex=0\n");
  Start();
  int depth = 0;
  int deepest = 0;
  std::vector<std::vector<std::string>> got;
  HandOverInbox* self = nullptr;
  HandOverInbox inbox(nullptr, [&](const HandOver& joined) {
    ++depth;
    deepest = std::max(deepest, depth);
    got.push_back(joined.names);
    if (got.size() == 1) {
      self->Add({{"/during"}, {}});
      kit_.timers.Advance(3 * HandOverInbox::kQuietMs);
    }
    --depth;
  });
  self = &inbox;
  inbox.Add({{"/first"}, {}});
  kit_.timers.Advance(HandOverInbox::kQuietMs);
  EXPECT_EQ(got.size(), 1u) << "the second came inside the first";
  kit_.timers.Advance(10 * HandOverInbox::kQuietMs);
  EXPECT_EQ(deepest, 1);
  const std::vector<std::vector<std::string>> expected = {{"/first"}, {"/during"}};
  EXPECT_EQ(got, expected);
}

// The real channel: each sender ends only once the window has taken its names, and starts in
// a row give one copy in the order they came.
TEST_F(HandOverTest, SendersEndOnceTakenAndStartsInARowGiveOneCopy) {
  WriteSettings("CheckIndex=2\nSendToIndex=0\n");
  Start();
  const std::string socket = (root_ / "run" / "ZQ_LOOMQUILL").string();
  std::string error;
  bool other = false;
  auto listener = HandOverListener::Listen(socket, &error, &other);
  ASSERT_TRUE(listener) << error;
  auto inbox = Inbox(std::move(listener));
  const std::vector<std::vector<std::string>> starts = {
      {Src("b.txt"), Src("a.txt")}, {Src("c.txt")}, {Src("e.txt"), Src("d.txt")}};
  for (const auto& names : starts) {
    auto sender = std::async(std::launch::async, [&] {
      return SendHandOver(socket, names, nullptr, "", std::chrono::seconds(20));
    });
    // Time stands still until the test moves it: the sender waits for the next poll, which
    // its connection starts from the event loop.
    EXPECT_EQ(sender.wait_for(std::chrono::milliseconds(200)), std::future_status::timeout)
        << "a sender ended before the window polled";
    while (sender.wait_for(std::chrono::milliseconds(5)) != std::future_status::ready) {
      Yield();
      kit_.timers.Advance(HandOverInbox::kPollMs);
    }
    EXPECT_EQ(sender.get(), HandOverSend::kSent);
  }
  EXPECT_TRUE(delivered.empty()) << "the starts came within the quiet time";
  kit_.timers.Advance(HandOverInbox::kQuietMs);
  ASSERT_EQ(delivered.size(), 1u);
  EXPECT_EQ(clipboard_.text, "b.txt\na.txt\nc.txt\ne.txt\nd.txt");
  ASSERT_EQ(clock_.notices.size(), 1u);
  EXPECT_EQ(clock_.notices[0].text, "5 files\n" + Src("b.txt") + "\n...\n" + Src("d.txt"));

  // A closed inbox takes nothing more: its senders learn so, and nothing is copied.
  inbox->Close();
  EXPECT_EQ(SendHandOver(socket, {Src("late.txt")}, nullptr, "", std::chrono::seconds(5)),
            HandOverSend::kNoInstance);
  kit_.timers.Advance(10 * HandOverInbox::kQuietMs);
  EXPECT_EQ(delivered.size(), 1u);
}

TEST_F(HandOverTest, ARefusedNameCopiesNoneOfTheOthers) {
  WriteSettings("CheckIndex=0\nSendToIndex=1\n");
  Start();
  Command(ids::kEscapeBatch);  // escape for batch files: no name with a double quote
  dlg()->ReceiveFiles({Src("fine.txt"), Src("say \"hi\".txt"), Src("also fine.txt")});
  EXPECT_EQ(clipboard_.set_count, 0);
  ASSERT_EQ(prompts_.messages.size(), 1u);
  EXPECT_EQ(prompts_.messages[0].text.rfind(Src("say \"hi\".txt"), 0), 0u)
      << prompts_.messages[0].text;
  EXPECT_TRUE(dlg()->pending_file().empty());
}

}  // namespace
}  // namespace lq::test
