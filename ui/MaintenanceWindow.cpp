#include "ui/MaintenanceWindow.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QShowEvent>

#include "app/Gbk.h"
#include "app/UntException.h"
#include "ui/Look.h"
#include "ui/TypedKeys.h"

namespace vantrel {

namespace {

MessageFn& MessageHook() {
  static MessageFn hook;
  return hook;
}

// The window everything is centred over: the top of the owner chain.
QWidget* MainWindowOf(QWidget* window) {
  QWidget* top = window->parentWidget();
  while (top && top->parentWidget()) top = top->parentWidget();
  return top ? top->window() : nullptr;
}

}  // namespace

TFixedDialog::TFixedDialog(QWidget* parent, const QString& objectName, const QString& title,
                           QSize clientSize)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint) {
  setObjectName(objectName);
  setWindowTitle(title);
  ApplyLook(this);
  setFixedSize(clientSize);
  setSizeGripEnabled(false);
}

void TFixedDialog::InstallKeyPreview() {
  installEventFilter(this);
  for (QWidget* child : findChildren<QWidget*>()) child->installEventFilter(this);
}

bool TFixedDialog::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress && !QApplication::activePopupWidget()) {
    bool consumed = false;
    Guarded(this, [&] { consumed = previewKey(watched, static_cast<QKeyEvent*>(event)); });
    if (consumed) return true;
  }
  return QDialog::eventFilter(watched, event);
}

bool TFixedDialog::previewKey(QObject* target, QKeyEvent* event) {
  if (char32_t key = EnterOrEscape(*event)) {
    KeyPress(target, key);
    return key == 0;
  }
  return FeedTypedCharacters(*event, [&](char32_t& typed) { KeyPress(target, typed); });
}

void TFixedDialog::refuse(QWidget* field, MessageIcon icon, const QString& text) {
  ShowMessage(this, icon, text);
  field->setFocus();
}

void TFixedDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (event->spontaneous()) return;
  if (QWidget* main = MainWindowOf(this)) {
    const QRect frame = main->frameGeometry();
    move(frame.center() - QPoint(frameGeometry().width() / 2, frameGeometry().height() / 2));
  }
}

QPushButton* MakeButton(QWidget* parent, const char* objectName, const char* caption,
                        const char* hint, int left, int top) {
  auto* button = new QPushButton(QString::fromUtf8(caption), parent);
  button->setObjectName(QString::fromLatin1(objectName));
  button->setGeometry(left, top, 66, 22);
  // Enter is the window's own business, never a focused button's.
  button->setAutoDefault(false);
  button->setDefault(false);
  SetHint(button, QString::fromUtf8(hint));
  return button;
}

void ShowMessage(QWidget* owner, MessageIcon icon, const QString& text) {
  const QString caption = QStringLiteral("错误");
  if (MessageHook()) {
    MessageHook()(icon, caption, text);
    return;
  }
  QMessageBox box(icon == MessageIcon::Warning ? QMessageBox::Warning : QMessageBox::Information,
                  caption, text, QMessageBox::Ok, owner);
  box.setWindowModality(Qt::ApplicationModal);
  box.exec();
}

void SetMessageBoxForTesting(MessageFn show) {
  MessageHook() = std::move(show);
}

bool IsBlank(const QString& text) {
  for (const QChar c : text) {
    if (c.unicode() > u' ') return false;
  }
  return true;
}

std::optional<QString> NameProblem(const QString& name, const QString& what) {
  const std::optional<std::size_t> bytes = GbkLength(name.toStdString());
  if (!bytes) return what + QStringLiteral("中含有无法保存的字符,请换用其他字符!");
  if (*bytes > kMaxNameBytes) {
    return what +
           QStringLiteral("太长,最多%1个字节(%2个汉字)!").arg(kMaxNameBytes).arg(kMaxNameBytes / 2);
  }
  return std::nullopt;
}

}  // namespace vantrel
