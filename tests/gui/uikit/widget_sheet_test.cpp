#include <gtest/gtest.h>
#include <wx/button.h>
#include <wx/frame.h>

#include <string>

#include "platform/gtk_widget_sheet.h"

namespace lq {
namespace {

// A sheet shows in the size GTK asks for the widget, read afresh each time.
class WidgetSheetTest : public testing::Test {
 protected:
  void SetUp() override {
    frame_ = new wxFrame(nullptr, wxID_ANY, "Sheets");
    button_ = new wxButton(frame_, wxID_ANY, "Go");
    plain_ = Asked();
  }
  void TearDown() override { frame_->Destroy(); }

  wxSize Asked() {
    button_->InvalidateBestSize();
    return button_->GetBestSize();
  }
  void Sheet(const char* key, const std::string& css) {
    ReplaceWidgetSheet(button_->GetHandle(), key, css);
  }

  wxFrame* frame_ = nullptr;
  wxButton* button_ = nullptr;
  wxSize plain_;
};

TEST_F(WidgetSheetTest, ASheetTakesHold) {
  Sheet("lq-test-wide", "* { min-width: 300px; }");
  EXPECT_GE(Asked().GetWidth(), 300);
  EXPECT_EQ(Asked().GetHeight(), plain_.GetHeight());
}

TEST_F(WidgetSheetTest, TheNextSheetUnderTheKeyTakesThePlaceOfTheLast) {
  Sheet("lq-test-size", "* { min-width: 300px; }");
  Sheet("lq-test-size", "* { min-height: 120px; }");
  EXPECT_EQ(Asked().GetWidth(), plain_.GetWidth());
  EXPECT_GE(Asked().GetHeight(), 120);
  Sheet("lq-test-size", "");
  EXPECT_EQ(Asked(), plain_);
}

TEST_F(WidgetSheetTest, SheetsUnderOtherKeysStay) {
  Sheet("lq-test-wide", "* { min-width: 300px; }");
  Sheet("lq-test-tall", "* { min-height: 120px; }");
  EXPECT_GE(Asked().GetWidth(), 300);
  EXPECT_GE(Asked().GetHeight(), 120);
  Sheet("lq-test-tall", "");
  EXPECT_GE(Asked().GetWidth(), 300);
  EXPECT_EQ(Asked().GetHeight(), plain_.GetHeight());
}

TEST_F(WidgetSheetTest, NoWidgetIsLeftAlone) {
  ReplaceWidgetSheet(nullptr, "lq-test-wide", "* { min-width: 300px; }");
  EXPECT_EQ(Asked(), plain_);
}

}  // namespace
}  // namespace lq
