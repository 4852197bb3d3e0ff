// The about box: program version, the unit data's version, the release notes, the web
// and mail links, and the picture that opens the greeting window.
#pragma once

#include <QColor>
#include <QString>
#include <QUrl>
#include <functional>

#include "ui/MaintenanceWindow.h"

class QFrame;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QToolButton;

namespace vantrel {

class TDMMain;

// The program version the about box shows.
inline const QString kProgramVersion = QStringLiteral("V1.2");
inline const QString kWebAddress = QStringLiteral("https://vantrel.example.org/");
inline const QString kMailAddress = QStringLiteral("vantrel@example.org");

// Where the links go: the desktop's handler for a web or mail address.
using UrlOpener = std::function<void(const QUrl& url)>;

class TFrmAbout : public TFixedDialog {
  Q_OBJECT

 public:
  TFrmAbout(TDMMain& dm, QWidget* parent);

  void FormCreate();
  // The mouse over the window's free area: both links take the title-bar colour.
  void FormMouseMove();
  void FlatButton1Click();
  void FlatSpeedButton1Click();
  void Label3Click();
  void Label4Click();
  // Shared by both link labels; label is the one under the mouse.
  void Label4MouseDown(QLabel* label);
  void Label4MouseMove(QLabel* label);
  void Label4MouseUp(QLabel* label);

  // The mail link with its subject, percent-encoded as UTF-8.
  static QUrl MailUrl();
  // The colour both links take over the free area: the active window's title-bar
  // colour, which Qt offers as the active highlight colour.
  QColor TitleBarColor() const;
  static QColor LinkColor(const QLabel* label);

  // Tests see the links instead of the desktop opening them; nullptr restores it.
  static void SetUrlOpenerForTesting(UrlOpener open);

  QLabel* Image1 = nullptr;
  QToolButton* FlatSpeedButton1 = nullptr;
  QLabel* Label1 = nullptr;
  QLabel* Label2 = nullptr;
  QPlainTextEdit* FlatMemo1 = nullptr;
  QFrame* Bevel1 = nullptr;
  QLabel* Label3 = nullptr;
  QLabel* Label4 = nullptr;
  QLabel* LabelData = nullptr;
  QPushButton* FlatButton1 = nullptr;

 protected:
  // No key preview: Escape and Enter keep the dialog's own meaning.
  void KeyPress(QObject* /*target*/, char32_t& /*key*/) override {}
  bool eventFilter(QObject* watched, QEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;

 private:
  void createControls();
  void wireHandlers();
  void setLinkColor(QLabel* label, const QColor& color);

  TDMMain& dm_;
  QLabel* pressedLink_ = nullptr;  // the link a left press started on, for its click
};

}  // namespace vantrel
