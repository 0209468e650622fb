#include "ui/ufrmHelpMe.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/memory/memory_pages.h"
#include "platform/memory/memory_view_controls.h"
#include "tests/host/main_window_support.h"

namespace {

using platform::MemoryForm;

TEST(LinkAddress, IsTheTextBetweenTheFirstParentheses) {
  const struct {
    const char* caption;
    const char* address;
  } cases[] = {
      {"Games Master (gm@quenlar.example)", "gm@quenlar.example"},
      {"Sophos (http://www.sophos.com/) (old)", "http://www.sophos.com/"},
      {"No parentheses", ""},
      {"()", ""},
      {"Only (open", ""},
      {"Only close)", ""},
      {"Wrong) way (round", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(LinkAddress(c.caption), c.address) << c.caption;
}

class HelpWindowTest : public ::testing::Test {
 protected:
  HelpWindowTest() { help.form().Show(); }

  MemoryForm& form() { return platform::MemoryToolkit::Of(help.form()); }
  const platform::ShellRecord& LastCall() { return machine.shell().calls().back(); }

  platform::MemoryMachine machine;
  platform::Services services = machine.services();
  TfrmHelpMe help{services};
};

TEST_F(HelpWindowTest, LinksOpenAMailOrTheBrowserAsTheirAddressSays) {
  help.pgMain->SetActivePage(0);
  ASSERT_TRUE(form().LabelCaptioned("Games Master (gamemasters@quenlar.example)").UserClick());
  EXPECT_EQ(LastCall().file, "mailto:gamemasters@quenlar.example?Subject=Problem");
  EXPECT_EQ(LastCall().parameters, "");
  ASSERT_TRUE(form().LabelCaptioned("Sophos (http://www.sophos.com)").UserClick());
  EXPECT_EQ(LastCall().file, "iexplore.exe");
  EXPECT_EQ(LastCall().parameters, "http://www.sophos.com");

  // Every link: mail addresses hold no "http", web addresses start with it.
  const std::vector<platform::Control*> links = {help.lblGameMasterEmail,
                                                 help.lblAccountEmail,
                                                 help.lblLegendofMir,
                                                 help.lblMirit,
                                                 help.Label1,
                                                 help.lblGrisoft,
                                                 help.lblSophos,
                                                 help.lblSymantec,
                                                 help.lblTrend,
                                                 help.Label2,
                                                 help.lblZoneAlarm,
                                                 help.lblSygate,
                                                 help.lnlNProtect,
                                                 help.lblPCFlank,
                                                 help.lblPCSup};
  for (platform::Control* link : links) {
    const std::string address = LinkAddress(link->Text());
    ASSERT_TRUE(dynamic_cast<platform::MemoryLabel&>(*link).UserClick()) << link->Text();
    const auto& call = LastCall();
    if (address.find('@') != std::string::npos) {
      EXPECT_EQ(call.file, "mailto:" + address + "?Subject=Problem");
    } else {
      EXPECT_EQ(address.rfind("http://", 0), 0u) << link->Text();
      EXPECT_EQ(call.file, "iexplore.exe");
      EXPECT_EQ(call.parameters, address);
    }
    EXPECT_EQ(call.directory, "");
    EXPECT_EQ(call.showCommand, platform::ShowNormal);
  }
  // A caption without an address still mails, to nobody in particular.
  help.lblGameMasterEmail->SetText("Games Master");
  help.lblGameMasterEmailClick(*help.lblGameMasterEmail);
  EXPECT_EQ(LastCall().file, "mailto:?Subject=Problem");
}

TEST_F(HelpWindowTest, TheHandShowsOverLinksUntilThePageBackground) {
  help.pgMain->SetActivePage(0);
  ASSERT_TRUE(form().LabelCaptioned("Accounts (accounts@quenlar.example)").UserMouseMove({}));
  EXPECT_EQ(machine.cursor().Current(), platform::crHandPoint);
  ASSERT_TRUE(form().Nth<platform::MemoryPageControl>().page(0).UserMouseMove({300, 460}));
  EXPECT_EQ(machine.cursor().Current(), platform::crDefault);
}

TEST_F(HelpWindowTest, EachPictureMailsSupportAboutThisVersion) {
  auto& pages = form().Nth<platform::MemoryPageControl>();
  for (int page = 0; page < 3; ++page) {
    pages.UserSelectPage(page);
    ASSERT_TRUE(form().Nth<platform::MemoryImage>(page).UserClick());
    EXPECT_EQ(LastCall().file, "mailto:support@quenlar.example?Subject=Quenlar v1.16");
    EXPECT_EQ(LastCall().parameters, "");
  }
}

TEST_F(HelpWindowTest, TheAdviceIsBlueAndGreenUnderItsHeadings) {
  auto& prevention = dynamic_cast<platform::MemoryRichEdit&>(*help.redtPrevention);
  auto& recovery = dynamic_cast<platform::MemoryRichEdit&>(*help.redtRecovery);
  EXPECT_EQ(prevention.textColor(), platform::colors::Blue);
  EXPECT_EQ(recovery.textColor(), platform::colors::Green);
  const std::string p = prevention.Text();
  const std::string r = recovery.Text();
  EXPECT_EQ(p.rfind("Good Practices\r\n------------------------\r\n\r\n1) ", 0), 0u);
  EXPECT_NE(p.find("\r\n14) "), std::string::npos);
  EXPECT_EQ(r.rfind("Recovery\r\n---------------\r\n\r\n1) ", 0), 0u);
  EXPECT_NE(r.find("\r\n16) "), std::string::npos);
  EXPECT_NE(r.find("\r\nCopy & Paste\r\n---------------------\r\n\r\n"), std::string::npos);
}

using HelpFromMainWindow = main_window_test::MainWindowTest;

TEST_F(HelpFromMainWindow, TheImageButtonAndHelpOpenItModallyAndCloseClosesIt) {
  Create();
  std::vector<std::string> openedOn;
  for (int i = 0; i < 2; ++i) {
    toolkit.ScriptModal("Help Me", [&](MemoryForm& shown) {
      auto& pages = shown.Nth<platform::MemoryPageControl>();
      openedOn.push_back(pages.page(pages.ActivePage()).caption());
      ASSERT_TRUE(shown.ButtonCaptioned("&Close").UserClick());
      openedOn.push_back(shown.Showing() ? "open" : "closed");
    });
  }
  ASSERT_TRUE(form().Nth<platform::MemoryImageButton>().UserClick());
  ASSERT_TRUE(form().UserChooseMenu("&Help"));
  EXPECT_EQ(openedOn, (std::vector<std::string>{"Prevention", "closed", "Prevention", "closed"}));
  EXPECT_EQ(toolkit.FormCaptioned("Help Me"), nullptr);  // destroyed once closed
}

}  // namespace
