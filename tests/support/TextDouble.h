// Host-side stand-in for DrawGLText: records every line asked for, so frame
// tests can check texts, positions and colours. Linked (as kolvex_text_double)
// by host test programs and benchmarks that draw frames.
#pragma once

#include <string>
#include <vector>

struct TextCall {
    std::u16string text;  // the `length` characters passed, no more
    float x, y;
    float red, green, blue;
};

extern std::vector<TextCall> textCalls;
