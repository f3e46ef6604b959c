// The page's message box behind ProblemBox.h (ShowMessageBoxSdl, declared in
// MessageBoxSdl.h): the game's problem or warning, in the player's language,
// laid over the canvas by the page (index.html's kolvexShowBox), and the
// English line in the browser's console. Lacks the native box's modal loop
// and button: a page cannot block, and after a problem nothing is left to
// go on with, so the box stays and the page stops, as after Quit.
#include <emscripten.h>

#include <string>

#include "render/MessageBoxSdl.h"

namespace {

// clang-format off
EM_JS(void, ShowBoxOnPage, (const char16_t* caption, const char16_t* text), {
    Module.kolvexShowBox(UTF16ToString(caption), UTF16ToString(text));
});
// clang-format on

}  // namespace

// The English line (`said`) is already in the console: the start-up report
// writes it to standard error, which is the console's error stream here.
void ShowMessageBoxSdl(const char16_t* text, const char16_t* caption, const std::string&) {
    ShowBoxOnPage(caption, text);
}
