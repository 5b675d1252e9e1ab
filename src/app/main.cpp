// tavimo: the desktop program.

#include <cstdio>
#include <exception>
#include <string>

#include "app/ErrorReporting.h"
#include "app/StartUp.h"

int main(int argc, char** argv) {
  try {
    return tavimo::app::RunTavimo(argc, argv);
  } catch (...) {
    // Raised before there was an application object to show a box with.
    const std::exception_ptr error = std::current_exception();
    const std::string text = tavimo::app::LastChanceText(tavimo::app::ExceptionClassName(error), "tavimo", 0,
                                                         tavimo::app::ExceptionMessage(error));
    std::fputs(tavimo::app::kLastChanceCaption, stderr);
    std::fputs(": ", stderr);
    std::fputs(text.c_str(), stderr);
    return 1;
  }
}
