// The native game's one English line on standard error when start-up fails,
// beside the message box: which SDL step failed and why, or which file or
// archive entry was missing or refused. Called by the SDL window code. The
// Windows build has none: a Windows program's standard error reaches no player.
#pragma once

#include <string>

// "kolvex: <SDL call> failed: <SDL's reason>".
void ReportWindowFailure(const char* call, const char* reason);

// "kolvex: " and what kept data.qv in the current folder from loading: it
// is missing, or the picture or sound start-up could not load and why. Call
// it right after the loading failed, on the thread that loaded.
void ReportAssetFailure();

// The last line either wrote, without its newline, and forgotten: for the
// message box that follows it, which shows it where it cannot draw its own
// text. Empty when nothing was reported since the last box.
std::string TakeReportedLine();
