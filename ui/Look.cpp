#include "ui/Look.h"

#include <QApplication>
#include <QImageReader>
#include <QPainter>
#include <QPalette>
#include <QPixmap>
#include <QProxyStyle>
#include <QStringList>
#include <QToolTip>
#include <QWidget>

// The pictures live in the static window library; their registration must be pulled
// in by hand or the linker drops it.
static void InitIconResources() {
  Q_INIT_RESOURCE(icons);
}

namespace vantrel {

void EnsureIconResources() {
  static const bool done = [] {
    InitIconResources();
    return true;
  }();
  (void)done;
}

namespace {

// A chevron pointing right (horizontal toolbar) or down (vertical), drawn in code.
QIcon ExtensionArrow(bool horizontal) {
  QPixmap pixmap(horizontal ? QSize(8, 16) : QSize(16, 8));
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setPen(QColor(64, 64, 64));
  if (horizontal) {
    painter.drawPolyline(QPolygon({{1, 4}, {4, 7}, {1, 10}}));
    painter.drawPolyline(QPolygon({{4, 4}, {7, 7}, {4, 10}}));
  } else {
    painter.drawPolyline(QPolygon({{4, 1}, {7, 4}, {10, 1}}));
    painter.drawPolyline(QPolygon({{4, 4}, {7, 7}, {10, 4}}));
  }
  return QIcon(pixmap);
}

class TLookStyle : public QProxyStyle {
 public:
  QIcon standardIcon(StandardPixmap icon, const QStyleOption* option,
                     const QWidget* widget) const override {
    if (icon == SP_ToolBarHorizontalExtensionButton) return ExtensionArrow(true);
    if (icon == SP_ToolBarVerticalExtensionButton) return ExtensionArrow(false);
    return QProxyStyle::standardIcon(icon, option, widget);
  }
};

// Song-style CJK faces, best first: the Windows names, then what Linux desktops ship.
QStringList SongFamilies() {
  return {QStringLiteral("宋体"),
          QStringLiteral("SimSun"),
          QStringLiteral("NSimSun"),
          QStringLiteral("AR PL UMing CN"),
          QStringLiteral("AR PL UMing TW"),
          QStringLiteral("AR PL SungtiL GB"),
          QStringLiteral("Noto Serif CJK SC"),
          QStringLiteral("Source Han Serif SC")};
}

}  // namespace

QPixmap Picture(const QString& resourcePath) {
  QImageReader reader(resourcePath, "png");
  reader.setAutoDetectImageFormat(false);
  return QPixmap::fromImage(reader.read());
}

QIcon PictureIcon(const QString& resourcePath) {
  return QIcon(Picture(resourcePath));
}

void InstallLookStyle() {
  if (dynamic_cast<TLookStyle*>(QApplication::style())) return;
  QApplication::setStyle(new TLookStyle);
}

QColor WindowColor() {
  return QColor(235, 234, 224);
}
QColor FocusedResultColor() {
  return QColor(215, 215, 200);
}
QColor SplitterGripColor() {
  return QColor(128, 128, 192);
}

QFont WindowFont() {
  QFont font;
  font.setFamilies(SongFamilies());
  font.setPixelSize(12);
  font.setStyleHint(QFont::Serif);
  return font;
}

QFont MenuFont() {
  QFont font;
  QStringList families{QStringLiteral("Tahoma")};
  families << SongFamilies();
  font.setFamilies(families);
  font.setPixelSize(11);
  return font;
}

QString StyleSheet() {
  // Flat controls: thin borders, no bevels; the menus keep a 24-pixel icon column.
  return QStringLiteral(
      "QLineEdit { border: 1px solid rgb(128,128,128); background: white; padding: 0px; }"
      "QLineEdit#FlatEdit2 { background: white; }"
      "QLineEdit#FlatEdit2:focus { background: rgb(215,215,200); }"
      "QComboBox { border: 1px solid rgb(128,128,128); background: white; padding: 0px 2px; }"
      "QComboBox::drop-down { border-left: 1px solid rgb(128,128,128); width: 14px; }"
      "QComboBox::down-arrow { image: url(:/icons/dropdown.png); }"
      "QListWidget { border: 1px solid rgb(128,128,128); background: white; }"
      "QListWidget:hover { border: 1px inset rgb(128,128,128); }"
      "QListWidget::item { height: 12px; padding: 0px; }"
      "QSplitter::handle { background: rgb(235,234,224); }"
      "QSplitter::handle:hover { background: rgb(128,128,192); }"
      "QToolBar { background: transparent; border-top: 1px solid rgb(255,255,255);"
      " border-bottom: 1px solid rgb(160,160,160); spacing: 1px; padding: 0px 2px; }"
      "QToolButton { border: 1px solid transparent; padding: 1px; }"
      "QToolButton:hover { border: 1px solid rgb(128,128,128); }"
      "QToolButton:pressed { background: rgb(215,215,200); }"
      "QMenuBar { background: rgb(235,234,224); }"
      "QMenuBar::item { padding: 2px 6px; background: transparent; }"
      "QMenuBar::item:selected { background: palette(highlight); color: palette(highlighted-text); "
      "}"
      "QMenu { background: rgb(235,234,224); border: 1px solid rgb(128,128,128); }"
      "QMenu::item { padding: 3px 16px 3px 28px; }"
      "QMenu::item:selected { background: palette(highlight); color: palette(highlighted-text); }"
      "QMenu::item:disabled { color: rgb(150,150,150); }"
      "QMenu::icon { padding-left: 4px; }"
      "QMenu::separator { height: 1px; background: rgb(160,160,160); margin: 2px 2px 2px 26px; }"
      "QToolTip { border: 1px solid black; background: rgb(255,255,225); color: black; }");
}

void ApplyLook(QWidget* window) {
  InstallLookStyle();
  EnsureIconResources();
  QPalette palette = window->palette();
  palette.setColor(QPalette::Window, WindowColor());
  window->setPalette(palette);
  window->setAutoFillBackground(true);
  window->setFont(WindowFont());
  window->setStyleSheet(StyleSheet());
  QToolTip::setFont(WindowFont());
}

void SetHint(QWidget* widget, const QString& hint) {
  widget->setToolTip(hint);
  widget->setStatusTip(hint);
}

}  // namespace vantrel
