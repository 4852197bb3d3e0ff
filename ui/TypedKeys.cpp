#include "ui/TypedKeys.h"

#include <QKeyEvent>

namespace vantrel {

namespace {

bool IsCommand(const QKeyEvent& event) {
  return event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
}

}  // namespace

char32_t EnterOrEscape(const QKeyEvent& event) {
  if (IsCommand(event)) return 0;
  switch (event.key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return 13;
    case Qt::Key_Escape:
      return 27;
    default:
      return 0;
  }
}

bool FeedTypedCharacters(const QKeyEvent& event, const std::function<void(char32_t&)>& keyPress) {
  // Alt and Meta combinations that reach a field matched no accelerator; they type
  // nothing, though a line edit would insert their letter.
  if (event.modifiers() & (Qt::AltModifier | Qt::MetaModifier))
    return !event.text().isEmpty() && event.text().at(0).isPrint();
  if (IsCommand(event)) return false;
  switch (event.key()) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Delete:
      return false;
    default:
      break;
  }
  for (char32_t typed : event.text().toUcs4()) {
    keyPress(typed);
    if (typed == 0) return true;
  }
  return false;
}

}  // namespace vantrel
