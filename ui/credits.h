// The credit and thanks lines shown on the main window and the help pages, and the
// project's support address. Short enough for the narrowest label that shows them.
#pragma once

inline constexpr const char* CreditLine = "By the Quenlar developers";
inline constexpr const char* ThanksLine = "Thanks to all our testers";
inline constexpr const char* SupportMailAddress = "support@quenlar.example";
