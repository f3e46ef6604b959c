// The native game's one English line on standard error when start-up fails,
// beside the message box: which SDL step failed and why, or which file or
// archive entry was missing or refused. Called by the SDL window code.
#pragma once

// "kolvex: <SDL call> failed: <SDL's reason>".
void ReportWindowFailure(const char* call, const char* reason);

// "kolvex: " and what keeps data.qv in the current folder from loading: it
// is missing or damaged, or its first picture or sound that is missing or
// refused, with why, found with the same asset-library calls start-up makes.
void ReportAssetFailure();
