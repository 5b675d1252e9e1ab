#include "app/Language.h"

#include <QCoreApplication>
#include <QFontDatabase>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <cstdio>

namespace tavimo::app {

TUiLanguage PreferredUiLanguage(const QStringList& uiLanguages) {
  for (const QString& name : uiLanguages) {
    if (name == QLatin1String("C") || name == QLatin1String("POSIX")) return TUiLanguage::Chinese;
    switch (QLocale(name).language()) {
      case QLocale::English: return TUiLanguage::English;
      case QLocale::Chinese: return TUiLanguage::Chinese;
      case QLocale::C: return TUiLanguage::Chinese;
      default: break;
    }
  }
  return TUiLanguage::Chinese;
}

bool ChineseFontInstalled() { return !QFontDatabase::families(QFontDatabase::SimplifiedChinese).isEmpty(); }

TUiLanguage ChooseUiLanguage(const QStringList& uiLanguages, bool chineseFontInstalled) {
  const TUiLanguage preferred = PreferredUiLanguage(uiLanguages);
  if (preferred == TUiLanguage::Chinese && !chineseFontInstalled) {
    std::fputs("tavimo: no installed font can show Chinese text; the windows use English\n", stderr);
    return TUiLanguage::English;
  }
  return preferred;
}

TUiLanguage ShownUiLanguage() {
  // The catalog names its own language under this text.
  const QString name = QCoreApplication::translate("tavimo::app::TUiLanguage", "中文");
  return name == QStringLiteral("中文") ? TUiLanguage::Chinese : TUiLanguage::English;
}

void InstallTranslations(QCoreApplication& application, TUiLanguage language) {
  const QString qtCatalog = language == TUiLanguage::English ? QStringLiteral("qtbase_en") : QStringLiteral("qtbase_zh_CN");
  auto* qt = new QTranslator(&application);
  if (qt->load(qtCatalog, QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    QCoreApplication::installTranslator(qt);
  else
    delete qt;
  if (language == TUiLanguage::English) {
    auto* own = new QTranslator(&application);
    if (own->load(QStringLiteral(":/tavimo/i18n/tavimo_en.qm")))
      QCoreApplication::installTranslator(own);
    else
      delete own;
  }
}

}  // namespace tavimo::app
