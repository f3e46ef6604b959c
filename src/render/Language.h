// The player's language, declared once for both programs: a text of the game
// as the chosen language has it, and the archive its lettered pictures come
// from. The game's own Chinese texts are the catalogues' msgids, so a text no
// catalogue has is the original. Defined by
// LanguageOriginal.cpp (the Windows program and the host tests: the original,
// always) and LanguageSdl.cpp (the native game: gettext's catalogues).
#pragma once

#include <string_view>

// Marks a text for xgettext (`--keyword=TextMark`) where it is written, in a
// table read later by LocalText; a marker only, it returns what it is given.
constexpr std::u16string_view TextMark(std::u16string_view text) {
    return text;
}

// A text of the game in the chosen language: the translation, else `text`
// itself. The view stays valid for the run, and its data() ends in a null
// (the message boxes take plain strings). Main thread only.
std::u16string_view LocalText(std::u16string_view text);
// The same for a msgid that needs a context to tell it apart (a single
// character, half of a word): `context` is the catalogue's msgctxt.
std::u16string_view LocalTextIn(const char* context, std::u16string_view text);

// The archive to read picture `entry` (a name in data.qv) from: the chosen
// language's own, data-LL.qv beside data.qv, where it holds that picture and
// every picture in it is usable, else data.qv itself.
const char* PictureArchive(const char* entry);

// Chooses the language once, before the first text is asked for, as every
// gettext program does (LANGUAGE, then LC_ALL, LC_MESSAGES, LANG), and with
// the catalogues in `catalogues` (a folder of LL/LC_MESSAGES/kolvex.mo), or
// the system's folder where that is null; its pictures' archive is looked
// for in the current folder. Nothing to do on Windows.
void ChooseLanguage(const char* catalogues);
