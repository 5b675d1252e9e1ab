#pragma once
// How an exception that ends a command is shown: ReportException picks the
// box, ShowErrorBox shows one of our exceptions, the last-chance box shows
// anything else. Guard() runs a handler and reports what escapes it.

#include <cstdint>
#include <exception>
#include <string>
#include <string_view>
#include <utility>

#include <QEvent>
#include <QObject>

namespace tavimo {
class Exception;
}

namespace tavimo::app {

class TPrompter;

// Sent to the widget holding the mouse grab before an error box opens, so a
// drag in progress ends there instead of resuming after the box.
QEvent::Type CancelModeEventType();

// "Exception <class> in module <module> at <address>.\n<message>[.]\n"; the
// period is added when the message is not empty and does not end with one.
std::string LastChanceText(std::string_view className, std::string_view module, std::uintptr_t address,
                           std::string_view message);
inline constexpr const char* kLastChanceCaption = "Application Error";

// The class name the last-chance box gives: ClassName() for our exceptions,
// the demangled type of anything else.
std::string ExceptionClassName(const std::exception_ptr& error);
std::string ExceptionMessage(const std::exception_ptr& error);

class TErrorReporter {
 public:
  // executablePath gives the title of every box and the module name of the last-chance box.
  TErrorReporter(TPrompter& prompter, std::string executablePath);

  TPrompter& Prompter() const { return prompter_; }
  const std::string& Title() const { return title_; }
  const std::string& ModuleName() const { return module_; }

  // Ends a mouse or keyboard grab, then shows our exceptions in the error
  // box and anything else in the last-chance box. The process goes on.
  void ReportException(const std::exception_ptr& error) noexcept;
  void ShowErrorBox(const Exception& error);
  void ShowLastChanceBox(const std::exception_ptr& error);

  // Runs handler(); an exception escaping it is reported and the handler counts as ended.
  template <typename F>
  void Guard(F&& handler) noexcept {
    try {
      std::forward<F>(handler)();
    } catch (...) {
      ReportException(std::current_exception());
    }
  }

 private:
  TPrompter& prompter_;
  std::string title_;
  std::string module_;
};

// Runs command under reporter's guard on every signal of sender while
// context lives: an exception from a command ends it there, before it can
// unwind through the signal machinery.
template <typename Sender, typename Signal, typename Command>
QMetaObject::Connection ConnectGuarded(TErrorReporter& reporter, Sender* sender, Signal signal, const QObject* context,
                                       Command command) {
  return QObject::connect(sender, signal, context,
                          [&reporter, command = std::move(command)] { reporter.Guard(command); });
}

}  // namespace tavimo::app
