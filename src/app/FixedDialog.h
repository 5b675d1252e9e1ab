#pragma once
// The About and Help windows are dialogs of the main window with a fixed
// client size, first shown at the place they were designed at.

#include <QRect>
#include <QWidget>

namespace tavimo::app {

// A title bar with the system menu and a close button, no resizing.
inline constexpr Qt::WindowFlags kFixedDialogFlags = Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint |
                                                     Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                                     Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;

// The client area's size fixed and the window moved to the designed place.
inline void PlaceFixedDialog(QWidget* dialog, const QRect& designed) {
  dialog->setFixedSize(designed.size());
  dialog->move(designed.topLeft());
}

}  // namespace tavimo::app
