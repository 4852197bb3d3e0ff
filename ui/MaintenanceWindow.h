// What the category and unit maintenance windows share: the fixed dialog frame with
// its key preview, the column of four buttons, the "错误" message boxes and the checks
// every name field makes.
#pragma once

#include <QDialog>
#include <QString>
#include <functional>
#include <optional>

#include "ui/Look.h"

class QKeyEvent;
class QPushButton;

namespace vantrel {

// The icon of a validation message; see ShowMessage.
enum class MessageIcon { Information, Warning };

// A window with a fixed single border and only the close box, the common look, hints,
// centred over the main window. Every key of every control passes KeyPress first.
class TFixedDialog : public QDialog {
  Q_OBJECT

 public:
  TFixedDialog(QWidget* parent, const QString& objectName, const QString& title, QSize clientSize);

 protected:
  // A typed character (Enter is 13, Escape 27) on its way to target; setting key to 0
  // consumes it.
  virtual void KeyPress(QObject* target, char32_t& key) = 0;
  // Call once the controls exist.
  void InstallKeyPreview();
  // A dialog's refusal of what was entered: the message, then the focus on field.
  void refuse(QWidget* field, MessageIcon icon, const QString& text);

  bool eventFilter(QObject* watched, QEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  bool previewKey(QObject* target, QKeyEvent* event);
};

// A button of the maintenance windows: 66 × 22, with caption, hint and object name.
QPushButton* MakeButton(QWidget* parent, const char* objectName, const char* caption,
                        const char* hint, int left, int top);

// The validation messages of the dialogs: caption "错误", one OK button.
void ShowMessage(QWidget* owner, MessageIcon icon, const QString& text);
using MessageFn =
    std::function<void(MessageIcon icon, const QString& caption, const QString& text)>;
// Tests capture the boxes instead of showing them; nullptr shows them again.
void SetMessageBoxForTesting(MessageFn show);

// True when nothing is left after removing the characters up to and including the space.
bool IsBlank(const QString& text);

// Why a name cannot be stored (a character GBK cannot encode, more than 50 GBK bytes),
// or nullopt when it can. what names the field in the message, e.g. "单位名称".
std::optional<QString> NameProblem(const QString& name, const QString& what);

}  // namespace vantrel
