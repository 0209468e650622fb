#include "ui/ufrmHelpMe.h"

#include <utility>

#include "forms/label_specs.h"
#include "ui/credits.h"
#include "version.h"

using namespace platform;

namespace {

constexpr const char* Browser = "iexplore.exe";

// The links page's look: its headings white and bold, its links yellow.
FontSpec LinksFont(Color color, bool bold) {
  return {.name = "Arial", .points = 8, .color = color, .bold = bold};
}

LabelSpec Heading(int left, int top, const char* caption) {
  return {
      .bounds = {left, top, 200, 14}, .caption = caption, .font = LinksFont(colors::White, true)};
}

// Both advice pages: the same box, each in its own colour.
RichEditSpec Advice(Color color, const std::string& text) {
  return {.bounds = {8, 80, 417, 385},
          .font = {.color = color},
          .text = text,
          .readOnly = true,
          .scrollBars = true,
          .wordWrap = false};
}

// The three pictures sit at the same place on their pages, sized to the picture.
constexpr Bounds Picture{363, 8, 63, 64};
constexpr const char* PictureName = "Shield";

}  // namespace

std::string LinkAddress(const std::string& caption) {
  const auto open = caption.find('(');
  const auto close = caption.find(')');
  if (open == std::string::npos || close == std::string::npos || close < open) return {};
  return caption.substr(open + 1, close - open - 1);
}

void OpenLinkOf(Services& services, WindowHandle owner, const std::string& caption) {
  const std::string address = LinkAddress(caption);
  if (address.find("http") == std::string::npos)
    services.shell.Open(owner, "mailto:" + address + "?Subject=Problem", "", "", ShowNormal);
  else
    services.shell.Open(owner, Browser, address, "", ShowNormal);
}

TfrmHelpMe::TfrmHelpMe(Services& services)
    : Dialog(services.toolkit, {.caption = "Help Me",
                                .clientWidth = 478,
                                .clientHeight = 537,
                                .background = colors::Black,
                                .border = BorderStyle::Dialog,
                                .minimizeBox = false,
                                .maximizeBox = false,
                                .centred = true}),
      services_(services) {
  btnClose = &form_->AddButton({.bounds = {377, 505, 75, 25},
                                .caption = "&Close",
                                .tabOrder = 0,
                                .onClick = [this] { btnCloseClick(); },
                                .isCancel = true});  // Esc closes the window too
  pgMain = &form_->AddPageControl(
      {.bounds = {8, 8, 465, 489}, .tabOrder = 1, .tabsOnRight = true, .multiLine = true});
  CreateLinksPage(pgMain->AddPage("Links", LinksFont(colors::Yellow, true)));
  CreatePreventionPage(pgMain->AddPage("Prevention", FontSpec{}));
  CreateRecoveryPage(pgMain->AddPage("Recovery", FontSpec{}));
  pgMain->SetPageMouseMove(0, [this](const MouseEvent& event) { tsLinksMouseMove(event); });
  pgMain->SetActivePage(PreventionPage);
}

Control& TfrmHelpMe::AddLink(Container& page, Control*& slot, int left, int top,
                             const std::string& caption) {
  Control** sender = &slot;
  slot = &page.AddLabel(
      {.bounds = {left, top, 200, 14},
       .caption = caption,
       .font = LinksFont(colors::Yellow, false),
       .onClick = [this, sender] { lblGameMasterEmailClick(**sender); },
       .onMouseMove = [this](const MouseEvent& event) { lblGameMasterEmailMouseMove(event); }});
  return *slot;
}

void TfrmHelpMe::CreateLinksPage(Container& page) {
  lblEmail = &page.AddLabel(Heading(8, 16, "Email:-"));
  AddLink(page, lblGameMasterEmail, 16, 37, "Games Master (gamemasters@quenlar.example)");
  AddLink(page, lblAccountEmail, 16, 61, "Accounts (accounts@quenlar.example)");

  lblWebsites = &page.AddLabel(Heading(8, 96, "Official Websites:-"));
  AddLink(page, lblLegendofMir, 16, 117, "Legend of Mir - Europe (http://europe.quenlar.example/)");
  AddLink(page, lblMirit, 16, 141,
          "Legend of Mir - Italian (http://italia.quenlar.example/forum/)");
  AddLink(page, Label1, 16, 165, "European Forum (http://forum.quenlar.example/)");

  lblAV = &page.AddLabel(Heading(8, 200, "Anti Virus Websites:-"));
  AddLink(page, lblGrisoft, 16, 221, "Grisoft (http://www.avg.com)");
  AddLink(page, lblSophos, 16, 245, "Sophos (http://www.sophos.com)");
  AddLink(page, lblSymantec, 16, 269, "Symantec (http://www.symantec.com)");
  AddLink(page, lblTrend, 16, 293, "f-secure (http://www.f-secure.com)");
  AddLink(page, Label2, 16, 317, "Trend Micro (http://www.trendmicro.com)");

  lblFirewalls = &page.AddLabel(Heading(224, 200, "Firewalls:-"));
  AddLink(page, lblZoneAlarm, 232, 221, "Zone Alarm (http://zonealarm.com)");
  AddLink(page, lblSygate, 232, 245, "Sygate (http://www.sygate.com)");

  Label4 = &page.AddLabel(Heading(8, 352, "Anti Trojan / Hack Websites:-"));
  AddLink(page, lnlNProtect, 16, 373, "NProtect (http://www.nprotect.com)");
  AddLink(page, lblPCFlank, 16, 397, "PCFlank (http://www.pcflank.com)");
  AddLink(page, lblPCSup, 16, 421, "Simply Super Software (http://www.simplysup.com)");

  img1 = &page.AddImage(Picture, PictureName, [this] { img1Click(); });
}

void TfrmHelpMe::CreatePreventionPage(Container& page) {
  img2 = &page.AddImage(Picture, PictureName, [this] { img2Click(); });
  lblVersion = &page.AddLabel(YellowLabel({16, 13, 80, 13}, "Version " QUENLAR_VERSION));
  lblContact = &page.AddLabel(YellowLabel({176, 13, 185, 13}, CreditLine));
  Label3 = &page.AddLabel(YellowLabel({176, 29, 185, 13}, ThanksLine));
  redtPrevention = &page.AddRichEdit(Advice(colors::Blue, PreventionAdvice()));
}

void TfrmHelpMe::CreateRecoveryPage(Container& page) {
  img3 = &page.AddImage(Picture, PictureName, [this] { img3Click(); });
  Label5 = &page.AddLabel(YellowLabel({16, 13, 80, 13}, "Version " QUENLAR_VERSION));
  Label6 = &page.AddLabel(YellowLabel({176, 13, 185, 13}, CreditLine));
  LabelSpec thanks = YellowLabel({176, 37, 139, 26}, ThanksLine);
  thanks.wordWrap = true;
  Label7 = &page.AddLabel(thanks);
  redtRecovery = &page.AddRichEdit(Advice(colors::Green, RecoveryAdvice()));
}

void TfrmHelpMe::btnCloseClick() { form_->Close(); }

void TfrmHelpMe::lblGameMasterEmailClick(Control& sender) {
  OpenLinkOf(services_, form_->Handle(), sender.Text());
}

void TfrmHelpMe::lblGameMasterEmailMouseMove(const MouseEvent&) {
  services_.cursor.Set(crHandPoint);
}

void TfrmHelpMe::tsLinksMouseMove(const MouseEvent&) { services_.cursor.Set(crDefault); }

void TfrmHelpMe::MailSupport() {
  services_.shell.Open(
      form_->Handle(),
      std::string("mailto:") + SupportMailAddress + "?Subject=Quenlar v" QUENLAR_VERSION, "", "",
      ShowNormal);
}

void TfrmHelpMe::img1Click() { MailSupport(); }
void TfrmHelpMe::img2Click() { MailSupport(); }
void TfrmHelpMe::img3Click() { MailSupport(); }

void ShowHelpMe(Services& services) {
  TfrmHelpMe frmHelpMe(services);
  frmHelpMe.ShowModal();
}
