// The native game's one English line on standard error when start-up fails,
// beside the message box: which SDL step failed and why, or which file or
// archive entry was missing or refused. Called by the SDL window code.
#pragma once

#include <string>

// Each returns the line it wrote, without its newline, for the message box
// that follows it (which shows it where it cannot draw its own text).

// "kolvex: <SDL call> failed: <SDL's reason>".
std::string ReportWindowFailure(const char* call, const char* reason);

// "kolvex: " and what kept data.qv in the current folder from loading: it
// is missing, or the picture or sound start-up could not load and why. Call
// it right after the loading failed, on the thread that loaded.
std::string ReportAssetFailure();
