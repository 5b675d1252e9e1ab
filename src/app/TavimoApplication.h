#pragma once
// The application object. Its notify() is the guard of the event loop: an
// exception that escapes the handling of any event is reported there and
// never reaches Qt's loop.

#include <QApplication>

#include "app/ErrorReporting.h"

namespace tavimo::app {

class TTavimoApplication : public QApplication {
  Q_OBJECT
 public:
  // executablePath names the boxes' title; empty means the running executable.
  TTavimoApplication(int& argc, char** argv, TPrompter& prompter, const std::string& executablePath = {});

  bool notify(QObject* receiver, QEvent* event) override;

  TErrorReporter& Reporter() { return reporter_; }

 private:
  TErrorReporter reporter_;
};

}  // namespace tavimo::app
