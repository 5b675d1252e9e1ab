#pragma once
// Labels size themselves to their text: the sizes the window tables give
// are what the text measured where the windows were designed. A label keeps
// its place and at least that size, and grows when the installed face needs
// more room, so no text is cut off.

#include <QLabel>
#include <QRect>
#include <algorithm>

namespace tavimo::app {

// Call after the label's text and font are set.
inline void PlaceLabel(QLabel* label, const QRect& designed) {
  const QSize text = label->sizeHint();
  label->setGeometry(designed.left(), designed.top(), std::max(designed.width(), text.width()),
                     std::max(designed.height(), text.height()));
}

}  // namespace tavimo::app
