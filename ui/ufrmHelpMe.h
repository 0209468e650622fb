// The help window: links to the game's operator, to security vendors and trojan tests,
// advice on keeping the game password safe, and what to do after it has been stolen.
// Created when it opens, shown modally and destroyed when it closes.
#pragma once

#include <memory>
#include <string>

#include "forms/dialog.h"
#include "platform/services.h"
#include "platform/toolkit.h"

// The address in a link label's caption: the text between the first "(" and the first
// ")"; empty when either is missing or they come the wrong way round.
std::string LinkAddress(const std::string& caption);

// Opens the link of a label's caption: a mail to the address with the subject "Problem"
// unless it holds "http", else the browser with the address. The shell's answer is
// ignored: nothing is reported when it cannot open the link.
void OpenLinkOf(platform::Services& services, platform::WindowHandle owner,
                const std::string& caption);

class TfrmHelpMe : public Dialog {
 public:
  // `services` must outlive the window.
  explicit TfrmHelpMe(platform::Services& services);

  void btnCloseClick();
  // Every link label's click; the sender is the label clicked.
  void lblGameMasterEmailClick(platform::Control& sender);
  void lblGameMasterEmailMouseMove(const platform::MouseEvent& event);
  void tsLinksMouseMove(const platform::MouseEvent& event);
  void img1Click();
  void img2Click();
  void img3Click();

  platform::PageControl* pgMain = nullptr;
  platform::Button* btnClose = nullptr;

  // "Links"
  platform::Control* lblEmail = nullptr;
  platform::Control* lblGameMasterEmail = nullptr;
  platform::Control* lblAccountEmail = nullptr;
  platform::Control* lblWebsites = nullptr;
  platform::Control* lblLegendofMir = nullptr;
  platform::Control* lblMirit = nullptr;
  platform::Control* Label1 = nullptr;
  platform::Control* lblAV = nullptr;
  platform::Control* lblGrisoft = nullptr;
  platform::Control* lblSophos = nullptr;
  platform::Control* lblSymantec = nullptr;
  platform::Control* lblTrend = nullptr;
  platform::Control* Label2 = nullptr;
  platform::Control* lblFirewalls = nullptr;
  platform::Control* lblZoneAlarm = nullptr;
  platform::Control* lblSygate = nullptr;
  platform::Control* Label4 = nullptr;
  platform::Control* lnlNProtect = nullptr;
  platform::Control* lblPCFlank = nullptr;
  platform::Control* lblPCSup = nullptr;
  platform::Control* img1 = nullptr;

  // "Prevention"
  platform::Control* img2 = nullptr;
  platform::Control* lblVersion = nullptr;
  platform::Control* lblContact = nullptr;
  platform::Control* Label3 = nullptr;
  platform::Control* redtPrevention = nullptr;

  // "Recovery"
  platform::Control* img3 = nullptr;
  platform::Control* Label5 = nullptr;
  platform::Control* Label6 = nullptr;
  platform::Control* Label7 = nullptr;
  platform::Control* redtRecovery = nullptr;

 private:
  void CreateLinksPage(platform::Container& page);
  void CreatePreventionPage(platform::Container& page);
  void CreateRecoveryPage(platform::Container& page);
  platform::Control& AddLink(platform::Container& page, platform::Control*& slot, int left, int top,
                             const std::string& caption);
  void MailSupport();

  platform::Services& services_;
};

// Creates the help window, shows it modally on "Prevention" and destroys it once closed.
void ShowHelpMe(platform::Services& services);

// The advice on the "Prevention" and "Recovery" pages, lines ended by CR LF.
const std::string& PreventionAdvice();
const std::string& RecoveryAdvice();

// The page the window opens on.
inline constexpr int PreventionPage = 1;
