#pragma once
// Texts that more than one window shows, each translated once (the catalog's
// context "Tavimo"), so the windows name the same thing the same way in
// every language.

#include <QString>

#include "calc/ComputeMode.h"

namespace tavimo::app {

QString LowCaption();   // the low price: the main window's box, the waves' column
QString HighCaption();  // the high price, likewise
QString HelpCaption();  // the Help window's title and the main window's button

// A compute mode's name, as a check box, a button or a zone's member gives it.
QString ModeCaption(ComputeMode mode);

}  // namespace tavimo::app
