#include "app/SharedTexts.h"

#include <QCoreApplication>
#include <string>

namespace tavimo::app {

namespace {
// The captions ComputeButtonCaption gives, for the catalog.
[[maybe_unused]] const char* const kModeCaptions[] = {
    QT_TRANSLATE_NOOP("Tavimo", "低点上涨"), QT_TRANSLATE_NOOP("Tavimo", "高点下跌"),
    QT_TRANSLATE_NOOP("Tavimo", "反弹阻力"), QT_TRANSLATE_NOOP("Tavimo", "回调支撑"),
    QT_TRANSLATE_NOOP("Tavimo", "起点上涨"), QT_TRANSLATE_NOOP("Tavimo", "起点下跌"),
};
}  // namespace

QString LowCaption() { return QCoreApplication::translate("Tavimo", "低点"); }
QString HighCaption() { return QCoreApplication::translate("Tavimo", "高点"); }
QString HelpCaption() { return QCoreApplication::translate("Tavimo", "帮助"); }

QString ModeCaption(ComputeMode mode) {
  const std::string caption(ComputeButtonCaption(mode));
  return QCoreApplication::translate("Tavimo", caption.c_str());
}

}  // namespace tavimo::app
