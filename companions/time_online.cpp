#include "companions/time_online.h"

#include <cmath>
#include <cstdint>
#include <cstdio>

#include "companions/chat_posts.h"
#include "companions/clipboard_holder.h"
#include "forms/game_notices.h"
#include "game_client/contract.h"

using namespace platform;

namespace {

constexpr std::int64_t MsPerDay = 86400000;
constexpr DateTime TwoHours = 2.0 / 24.0;

}  // namespace

std::string TimeText(DateTime days) {
  const std::int64_t ms = std::llround(std::fabs(days) * MsPerDay) % MsPerDay;
  const std::int64_t seconds = ms / 1000;
  char text[16];
  std::snprintf(text, sizeof text, "%02d:%02d:%02d", static_cast<int>(seconds / 3600),
                static_cast<int>(seconds / 60 % 60), static_cast<int>(seconds % 60));
  return text;
}

std::string TimeOnlineLine(Clock& clock, DateTime launchTime, const std::string& target,
                           bool warning) {
  std::string line = target.empty() ? std::string() : "/" + target + " ";
  line += TimeText(clock.Now() - launchTime);
  if (warning) line += " - " + TimeText(TwoHours - (clock.Now() - launchTime)) + " before d/c";
  return line;
}

void TimeOnlinePoster::Post(const std::string& line) {
  Desktop& desktop = services.desktop;
  // The time line looks for the game's main window at the chat point.
  const WindowHandle game = desktop.WindowFromPoint(game_client::ChatPoint);
  ClipboardHolder clipboard{services.toolkit, desktop, edtTemp, playerClipboard};
  if (!clipboard.PutLine(edtTime, line)) return;
  const ChatLineResult posted = PostChatLine(services, game, {});
  clipboard.GiveBack();
  if (posted.delivery == Delivery::Refused)
    ReportRefused(log, desktop.ProcessElevation(posted.window), "the time-online line");
}
