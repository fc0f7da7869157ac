#include "tests/gui/fakes/fake_beeper.h"
#include "tests/gui/fakes/fake_clipboard.h"
#include "tests/gui/fakes/fake_clock.h"
#include "tests/gui/fakes/fake_launcher.h"
#include "tests/gui/fakes/fake_prompts.h"

namespace lq {

void FakeClock::BusyWait(long long ms) {
  waits.push_back(ms);
  if (ms > 0) now += ms;
}

bool FakeClipboard::SetText(const std::string& value) {
  if (fail) return false;
  text = value;
  ++set_count;
  return true;
}

bool FakeLauncher::OpenWithAssociation(const std::string& target) {
  calls.push_back({Kind::kAssociation, {target}});
  return association_ok(target);
}

bool FakeLauncher::StartProgram(const std::vector<std::string>& argv) {
  calls.push_back({Kind::kProgram, argv});
  return program_ok(argv);
}

bool FakeLauncher::OpenInTextEditor(const std::string& file) {
  calls.push_back({Kind::kTextEditor, {file}});
  return text_editor_ok;
}

Answer FakePrompts::Message(wxWindow*, const std::string& text, const std::string& caption,
                            long style) {
  messages.push_back({text, caption, style});
  if (answers.empty()) return default_answer;
  const Answer answer = answers.front();
  answers.pop_front();
  return answer;
}

bool FakePrompts::ChooseFile(wxWindow*, const FileDialogSpec& kind, std::string& name,
                             const std::string& folder) {
  file_dialogs.push_back({kind, name, folder});
  if (file_answers.empty()) return false;
  const std::optional<std::string> answer = file_answers.front();
  file_answers.pop_front();
  if (!answer) return false;
  name = *answer;
  return true;
}

bool FakePrompts::ChooseFont(wxWindow*, FontSettings& font, int& point_size) {
  font_dialogs.push_back(font);
  if (font_answers.empty()) return false;
  const std::optional<FontAnswer> answer = font_answers.front();
  font_answers.pop_front();
  if (!answer) return false;
  font = answer->font;
  point_size = answer->point_size;
  return true;
}

namespace {

class FakeProgress : public Progress {
 public:
  explicit FakeProgress(FakePrompts& prompts) : prompts_(prompts) {}
  bool Update(int permille) override {
    prompts_.progress_updates.push_back(permille);
    return prompts_.cancel_at == 0 || prompts_.progress_updates.size() < prompts_.cancel_at;
  }

 private:
  FakePrompts& prompts_;
};

}  // namespace

std::unique_ptr<Progress> FakePrompts::StartProgress(wxWindow*, const std::string& caption,
                                                     const std::string&) {
  progress_dialogs.push_back(caption);
  return std::make_unique<FakeProgress>(*this);
}

}  // namespace lq
