// What the stand-in pads (ControllerDouble.cpp) were asked to do; linked only
// by tests that run the portable steps without a platform's pads.
#pragma once

struct ControllerCalls {
    int forgets = 0;
    int resumes = 0;
    int callsUnderLock = 0;
};

extern ControllerCalls controllerCalls;
