#pragma once
// A menu's items listed in order, as both chart windows build their menus.

#include <QAction>
#include <QMenu>
#include <initializer_list>

namespace tavimo::app {

// Adds the actions in order; a null pointer stands for a separator.
inline void AddMenuItems(QMenu* menu, std::initializer_list<QAction*> items) {
  for (QAction* item : items) {
    if (item != nullptr) menu->addAction(item);
    else menu->addSeparator();
  }
}

}  // namespace tavimo::app
