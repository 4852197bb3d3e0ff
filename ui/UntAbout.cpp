#include "ui/UntAbout.h"

#include <QDesktopServices>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>
#include <optional>
#include <string>

#include "app/UntException.h"
#include "catalogue/UntDM.h"
#include "ui/Look.h"
#include "ui/UntFlash.h"
#include "ui/UntFont.h"

namespace vantrel {

namespace {

const QColor kNavy(0, 0, 128);
const QColor kPressed(255, 0, 0);
const QColor kHover(0, 0, 255);

// Newest first; the box shows them for reading, edits are never kept.
const char kReleaseNotes[] =
    "-----V 1.2-----\n"
    "\n"
    "单位数据从头整理了，\n"
    "补上不少常用单位。\n"
    "新增单位和类别查找，\n"
    "打几个字就能找到。\n"
    "启动画面一天只出现\n"
    "一次，不再打扰。\n"
    "    ——Vantrel 作者\n"
    "    2010年12月9日\n"
    "\n"
    "-----V 1.1-----\n"
    "\n"
    "类别和单位可以自己\n"
    "添加、修改和删除了。\n"
    "每个类别都记住上次\n"
    "用过的两个单位。\n"
    "    ——Vantrel 作者\n"
    "    2005年6月18日\n"
    "\n"
    "-----V 1.0-----\n"
    "\n"
    "第一个版本，本来只是\n"
    "给自己换算用的。\n"
    "长度、面积、体积、\n"
    "质量，常用的都有了。\n"
    "壬午年，写着玩的。\n"
    "    ——Vantrel 作者\n"
    "    2002年10月1日";

UrlOpener& OpenerHook() {
  static UrlOpener hook;
  return hook;
}

// The desktop's answer is of no interest: a missing browser or mail program is ignored.
void OpenUrl(const QUrl& url) {
  if (OpenerHook()) {
    OpenerHook()(url);
    return;
  }
  QDesktopServices::openUrl(url);
}

QLabel* MakeLabel(QWidget* parent, const char* objectName, const QString& text, int left, int top) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(QString::fromLatin1(objectName));
  label->move(left, top);
  label->adjustSize();
  return label;
}

}  // namespace

TFrmAbout::TFrmAbout(TDMMain& dm, QWidget* parent)
    : TFixedDialog(parent, QStringLiteral("FrmAbout"), QStringLiteral("关于 Vantrel"),
                   QSize(287, 219)),
      dm_(dm) {
  InitPictures();
  createControls();
  wireHandlers();
  Guarded(this, [this] { FormCreate(); });
}

void TFrmAbout::createControls() {
  Image1 = new QLabel(this);
  Image1->setObjectName(QStringLiteral("Image1"));
  Image1->setGeometry(17, 9, 90, 137);
  Image1->setPixmap(Picture(QStringLiteral(":/pictures/about.png")));

  // Over the picture, showing nothing of its own but the hand cursor.
  FlatSpeedButton1 = new QToolButton(this);
  FlatSpeedButton1->setObjectName(QStringLiteral("FlatSpeedButton1"));
  FlatSpeedButton1->setGeometry(13, 6, 97, 143);
  FlatSpeedButton1->setAutoRaise(true);
  FlatSpeedButton1->setFocusPolicy(Qt::NoFocus);
  FlatSpeedButton1->setStyleSheet(
      QStringLiteral("QToolButton, QToolButton:hover, QToolButton:pressed "
                     "{ background: transparent; border: none; }"));
  FlatSpeedButton1->setCursor(Qt::PointingHandCursor);
  SetHint(FlatSpeedButton1, QStringLiteral("壬午年庆"));

  Label1 = MakeLabel(this, "Label1", QStringLiteral("Oska"), 140, 8);
  QFont big = WindowFont();
  big.setPixelSize(16);
  Label1->setFont(big);
  Label1->adjustSize();
  Label2 = MakeLabel(this, "Label2", QStringLiteral("--Vantrel"), 156, 30);

  FlatMemo1 = new QPlainTextEdit(this);
  FlatMemo1->setObjectName(QStringLiteral("FlatMemo1"));
  FlatMemo1->setGeometry(125, 49, 155, 99);
  FlatMemo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  FlatMemo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  // The background like the window's; a style sheet of its own would cost the memo
  // the window's font.
  QPalette memo = FlatMemo1->palette();
  memo.setColor(QPalette::Base, WindowColor());
  FlatMemo1->setPalette(memo);
  FlatMemo1->setPlainText(QString::fromUtf8(kReleaseNotes));
  SetHint(FlatMemo1, QStringLiteral("呵呵，罗罗嗦嗦写了一大堆！"));

  Bevel1 = new QFrame(this);
  Bevel1->setObjectName(QStringLiteral("Bevel1"));
  Bevel1->setFrameShape(QFrame::HLine);
  Bevel1->setFrameShadow(QFrame::Sunken);
  Bevel1->setGeometry(3, 154, 281, 2);

  Label3 = MakeLabel(this, "Label3", kWebAddress, 5, 161);
  SetHint(Label3, QStringLiteral("访问软件网站"));
  Label4 = MakeLabel(this, "Label4", QStringLiteral("email: ") + kMailAddress, 5, 180);
  SetHint(Label4, QStringLiteral("给我发EMAIL聊聊这个软件吧！"));
  for (QLabel* link : {Label3, Label4}) {
    link->setCursor(Qt::PointingHandCursor);
    link->setMouseTracking(true);
    setLinkColor(link, kNavy);
  }

  LabelData = MakeLabel(this, "LabelData", QStringLiteral("数据版本: 2010-12-09"), 6, 204);

  FlatButton1 = new QPushButton(QStringLiteral("确认(&O)"), this);
  FlatButton1->setObjectName(QStringLiteral("FlatButton1"));
  FlatButton1->setGeometry(214, 180, 67, 23);
  SetHint(FlatButton1, QStringLiteral("关闭窗口"));

  // The button comes first in the tab order and has the focus on opening.
  setTabOrder(FlatButton1, FlatMemo1);
  FlatButton1->setFocus();
  setMouseTracking(true);
}

void TFrmAbout::wireHandlers() {
  connect(FlatButton1, &QPushButton::clicked, this,
          [this] { Guarded(this, [this] { FlatButton1Click(); }); });
  connect(FlatSpeedButton1, &QToolButton::clicked, this,
          [this] { Guarded(this, [this] { FlatSpeedButton1Click(); }); });
  Label3->installEventFilter(this);
  Label4->installEventFilter(this);
}

void TFrmAbout::FormCreate() {
  setWindowTitle(windowTitle() + QStringLiteral(" ") + kProgramVersion);
  Label1->setText(Label1->text() + QStringLiteral(" ") + kProgramVersion);
  Label1->adjustSize();
  // Without a version row the label keeps its design text.
  if (const std::optional<std::string> version = dm_.DataVersion()) {
    LabelData->setText(QStringLiteral("数据版本: ") + QString::fromStdString(*version));
    LabelData->adjustSize();
  }
}

bool TFrmAbout::eventFilter(QObject* watched, QEvent* event) {
  auto* link = qobject_cast<QLabel*>(watched);
  if (link != Label3 && link != Label4) return TFixedDialog::eventFilter(watched, event);
  switch (event->type()) {
    case QEvent::MouseButtonPress: {
      const auto* mouse = static_cast<QMouseEvent*>(event);
      pressedLink_ = mouse->button() == Qt::LeftButton ? link : nullptr;
      Guarded(this, [&] { Label4MouseDown(link); });
      return true;
    }
    case QEvent::MouseMove:
      Guarded(this, [&] { Label4MouseMove(link); });
      return true;
    case QEvent::MouseButtonRelease: {
      const auto* mouse = static_cast<QMouseEvent*>(event);
      // A click is a left press and release on the same link, released over it.
      const bool click = mouse->button() == Qt::LeftButton && pressedLink_ == link &&
                         link->rect().contains(mouse->position().toPoint());
      if (mouse->button() == Qt::LeftButton) pressedLink_ = nullptr;
      if (click) Guarded(this, [&] { link == Label3 ? Label3Click() : Label4Click(); });
      Guarded(this, [&] { Label4MouseUp(link); });
      return true;
    }
    default:
      return TFixedDialog::eventFilter(watched, event);
  }
}

void TFrmAbout::mouseMoveEvent(QMouseEvent* event) {
  // Moves over a control that does not track the mouse reach the window too; only the
  // free area counts.
  if (childAt(event->position().toPoint()) == nullptr) Guarded(this, [this] { FormMouseMove(); });
  TFixedDialog::mouseMoveEvent(event);
}

void TFrmAbout::FormMouseMove() {
  const QColor title = TitleBarColor();
  setLinkColor(Label3, title);
  setLinkColor(Label4, title);
}

void TFrmAbout::Label4MouseDown(QLabel* label) {
  setLinkColor(label, kPressed);
}

void TFrmAbout::Label4MouseMove(QLabel* label) {
  setLinkColor(label, kHover);
}

void TFrmAbout::Label4MouseUp(QLabel* label) {
  setLinkColor(label, kHover);
}

void TFrmAbout::Label3Click() {
  OpenUrl(QUrl(Label3->text()));
}

void TFrmAbout::Label4Click() {
  OpenUrl(MailUrl());
}

void TFrmAbout::FlatSpeedButton1Click() {
  TFrmFont greeting(this);
  greeting.exec();
}

void TFrmAbout::FlatButton1Click() {
  close();
}

QUrl TFrmAbout::MailUrl() {
  const QString subject = QStringLiteral("关于\"OskaV1.2--换算小工具\"的……");
  // Every byte but the unreserved ones escaped, so no mail program has to guess the
  // subject's encoding.
  const QByteArray encoded =
      "mailto:" + kMailAddress.toUtf8() + "?subject=" + QUrl::toPercentEncoding(subject);
  return QUrl::fromEncoded(encoded, QUrl::StrictMode);
}

QColor TFrmAbout::TitleBarColor() const {
  return palette().color(QPalette::Active, QPalette::Highlight);
}

QColor TFrmAbout::LinkColor(const QLabel* label) {
  return label->palette().color(QPalette::WindowText);
}

void TFrmAbout::setLinkColor(QLabel* label, const QColor& color) {
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, color);
  label->setPalette(palette);
}

void TFrmAbout::SetUrlOpenerForTesting(UrlOpener open) {
  OpenerHook() = std::move(open);
}

}  // namespace vantrel
