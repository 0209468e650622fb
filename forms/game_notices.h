// What the event log tells the player when the game does not take what the program
// sends it. Every one of these turns the log red.
#pragma once

#include <string>

#include "forms/event_log.h"
#include "platform/desktop.h"

// The game (or the window under a drag) refused `what` ("the login", "the chat line",
// "the password"): Windows keeps a program from sending to one with higher rights.
void ReportRefused(EventLog& log, platform::Elevation game, const std::string& what);
// The login fields stopped answering: the fill ended without pressing Enter.
void ReportNoAnswer(EventLog& log);
// The login screen the poll found is gone, or another window lies at its points.
void ReportGameGone(EventLog& log);
// The box shown for a text the game cannot receive ("this chat line", "this login or
// password"): a character the system code page has no form for would reach it as "?".
std::string CannotReceiveText(const std::string& what);

// The field at the login point belongs to a program other than the game: `program` is
// its file as the log shows it, "" where the program may not look.
void ReportForeignLoginField(EventLog& log, const std::string& program);
