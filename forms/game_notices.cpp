#include "forms/game_notices.h"

using platform::Elevation;

void ReportRefused(EventLog& log, Elevation game, const std::string& what) {
  const bool seen = game == Elevation::Elevated || game == Elevation::Hidden;
  log.Append("Mir refused " + what + ": it " + (seen ? "runs" : "may run") +
             " with higher rights than Quenlar (as administrator)");
  log.Append(
      "Start Quenlar the same way as Mir (both as administrator, or neither), then try again");
  log.TurnRed();
}

void ReportNoAnswer(EventLog& log) {
  log.Append("Mir stopped answering: the login was broken off and nothing was submitted");
  log.TurnRed();
}

std::string CannotReceiveText(const std::string& what) {
  return "Mir cannot receive " + what +
         ": it holds characters that are not in the character set Windows uses for Mir.\r"
         "Please type it with other characters.";
}

void ReportForeignLoginField(EventLog& log, const std::string& program) {
  log.Append("Warning - A window of another program sits on Mir's login field: " +
             (program.empty() ? std::string("(a program Quenlar may not look into)") : program));
  log.Append("The login and password were not sent");
  log.TurnRed();
}

void ReportGameGone(EventLog& log) {
  log.Append("Mir's login screen is gone: the login and password were not sent");
  log.TurnRed();
}
