#pragma once

#include <wx/timer.h>

#include <functional>
#include <string>
#include <vector>

namespace lq::test {

// Notes what the window shows every few milliseconds, also while a popup menu's own loop
// runs and the test cannot look.
class Sampler : public wxTimer {
 public:
  struct Seen {
    std::string status;
    bool tip_shown;
  };
  Sampler(std::function<Seen()> look) : look_(std::move(look)) { Start(5); }
  ~Sampler() override { Stop(); }
  void Notify() override { seen.push_back(look_()); }
  bool SawStatus(const std::string& text) const {
    for (const Seen& s : seen) {
      if (s.status == text) return true;
    }
    return false;
  }
  bool SawTip() const {
    for (const Seen& s : seen) {
      if (s.tip_shown) return true;
    }
    return false;
  }
  std::string Statuses() const {
    std::string all;
    for (const Seen& s : seen) {
      if (all.empty() || all.rfind(s.status + "|") != all.size() - s.status.size() - 1) {
        all += s.status + "|";
      }
    }
    return all;
  }

  std::vector<Seen> seen;

 private:
  std::function<Seen()> look_;
};

}  // namespace lq::test
