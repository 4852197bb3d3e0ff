// How a window's key handler sees a key press: Enter as 13, Escape as 27, otherwise
// each character the key types. The handler refuses a character by setting it to 0.
#pragma once

#include <functional>

class QKeyEvent;

namespace vantrel {

// 13 for Enter, 27 for Escape; 0 for any other key and for Ctrl, Alt or Meta
// combinations, which are commands.
char32_t EnterOrEscape(const QKeyEvent& event);

// Passes each character the key types to keyPress, stopping at the first one it refuses;
// true when it refused one. Commands (Ctrl, Alt, Meta) and the focus and deletion keys
// (Tab, Backtab, Delete) type nothing; an Alt or Meta combination that carries a
// printable character counts as refused, so the field never inserts it.
bool FeedTypedCharacters(const QKeyEvent& event, const std::function<void(char32_t&)>& keyPress);

}  // namespace vantrel
