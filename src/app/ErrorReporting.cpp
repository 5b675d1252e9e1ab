#include "app/ErrorReporting.h"

#include <cxxabi.h>

#include <QApplication>
#include <QWidget>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <typeinfo>

#include "app/Prompter.h"
#include "runtime/ErrorText.h"
#include "runtime/Exceptions.h"

namespace tavimo::app {

QEvent::Type CancelModeEventType() {
  static const QEvent::Type type = static_cast<QEvent::Type>(QEvent::registerEventType());
  return type;
}

std::string LastChanceText(std::string_view className, std::string_view module, std::uintptr_t address,
                           std::string_view message) {
  char addressText[2 * sizeof(std::uintptr_t) + 1];
  std::snprintf(addressText, sizeof addressText, "%08llX", static_cast<unsigned long long>(address));
  std::string text = "Exception ";
  text.append(className).append(" in module ").append(module).append(" at ").append(addressText).append(".\n");
  text.append(message);
  if (!message.empty() && message.back() != '.') text.push_back('.');
  text.push_back('\n');
  return text;
}

namespace {
std::string Demangle(const char* name) {
  int status = 0;
  std::unique_ptr<char, void (*)(void*)> readable(abi::__cxa_demangle(name, nullptr, nullptr, &status), std::free);
  return status == 0 && readable ? std::string(readable.get()) : std::string(name);
}

std::string FileName(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}
}  // namespace

std::string ExceptionClassName(const std::exception_ptr& error) {
  try {
    std::rethrow_exception(error);
  } catch (const Exception& e) {
    return e.ClassName();
  } catch (const std::exception& e) {
    return Demangle(typeid(e).name());
  } catch (...) {
    const std::type_info* type = abi::__cxa_current_exception_type();
    return type ? Demangle(type->name()) : std::string("Exception");
  }
}

std::string ExceptionMessage(const std::exception_ptr& error) {
  try {
    std::rethrow_exception(error);
  } catch (const std::exception& e) {
    return e.what();
  } catch (...) {
    return {};
  }
}

TErrorReporter::TErrorReporter(TPrompter& prompter, std::string executablePath)
    : prompter_(prompter), title_(ApplicationTitle(executablePath)), module_(FileName(executablePath)) {}

void TErrorReporter::ReportException(const std::exception_ptr& error) noexcept {
  try {
    if (QWidget* grabber = QWidget::mouseGrabber()) {
      QEvent cancel(CancelModeEventType());
      QCoreApplication::sendEvent(grabber, &cancel);
      grabber->releaseMouse();
    }
    if (QWidget* grabber = QWidget::keyboardGrabber()) grabber->releaseKeyboard();
    try {
      std::rethrow_exception(error);
    } catch (const Exception& e) {
      ShowErrorBox(e);
    } catch (...) {
      ShowLastChanceBox(error);
    }
  } catch (...) {
    // Showing the box failed; the report is all we could have done, so the
    // program goes on without it rather than letting the failure escape.
    std::cerr << title_ << ": " << ExceptionMessage(error) << '\n';
  }
}

void TErrorReporter::ShowErrorBox(const Exception& error) {
  prompter_.ShowMessage(nullptr, ErrorBoxText(error.Message()), title_, TPromptIcon::Error);
}

void TErrorReporter::ShowLastChanceBox(const std::exception_ptr& error) {
  // C++ exceptions carry no code address; 0 stands for "unknown".
  prompter_.ShowMessage(nullptr, LastChanceText(ExceptionClassName(error), module_, 0, ExceptionMessage(error)),
                        kLastChanceCaption, TPromptIcon::Error);
}

}  // namespace tavimo::app
