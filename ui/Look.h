// The look every window but the splash shares: background colour, the Song-style
// font at 12 pixels, and one small style sheet for the flat controls.
#pragma once

#include <QColor>
#include <QFont>
#include <QIcon>
#include <QPixmap>
#include <QString>

class QWidget;

namespace vantrel {

// red 235, green 234, blue 224
QColor WindowColor();
// The result field's background while it has the focus.
QColor FocusedResultColor();
// The splitter grip while the mouse is over it.
QColor SplitterGripColor();

// 宋体 at 12 pixels; where it is missing, the first installed Song-style CJK font.
QFont WindowFont();
// Tahoma at 11 pixels for the menus, falling back to the Song-style fonts for Chinese.
QFont MenuFont();

QString StyleSheet();

// The application style with our own toolbar extension arrows: the built-in ones are
// read through Qt's image plugins, which costs a start-up several milliseconds of
// library loading. Idempotent; ApplyLook installs it.
void InstallLookStyle();

// One of our own PNG pictures. Naming the format keeps Qt from loading its image
// plugins to guess it.
QPixmap Picture(const QString& resourcePath);
QIcon PictureIcon(const QString& resourcePath);

// Makes the ":/icons/..." pictures available; ApplyLook does it too.
void EnsureIconResources();

// The hint of a control: its tooltip and its status-bar text.
void SetHint(QWidget* widget, const QString& hint);

// Background, font, style sheet and tooltip font for one top-level window.
void ApplyLook(QWidget* window);

}  // namespace vantrel
