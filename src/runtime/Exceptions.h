#pragma once
// The exception hierarchy: every error the program reports is one of these,
// carrying the English message the error box shows.

#include <exception>
#include <string>

namespace tavimo {

class Exception : public std::exception {
 public:
  explicit Exception(std::string message) : message_(std::move(message)) {}
  const char* what() const noexcept override { return message_.c_str(); }
  const std::string& Message() const noexcept { return message_; }
  // The class name, as the last-chance box names it.
  virtual const char* ClassName() const noexcept { return "Exception"; }

 private:
  std::string message_;
};

// An error class of its own: Base's constructors, and its name as ClassName.
// Every module declares its error classes with it.
#define TAVIMO_EXCEPTION_CLASS(Name, Base)                               \
  class Name : public Base {                                             \
   public:                                                               \
    using Base::Base;                                                    \
    const char* ClassName() const noexcept override { return #Name; }    \
  };

TAVIMO_EXCEPTION_CLASS(EConvertError, Exception)
TAVIMO_EXCEPTION_CLASS(EIniFileException, Exception)
TAVIMO_EXCEPTION_CLASS(EListError, Exception)
TAVIMO_EXCEPTION_CLASS(EExternal, Exception)
TAVIMO_EXCEPTION_CLASS(EMathError, EExternal)
TAVIMO_EXCEPTION_CLASS(EInvalidOp, EMathError)
TAVIMO_EXCEPTION_CLASS(EZeroDivide, EMathError)
TAVIMO_EXCEPTION_CLASS(EOverflow, EMathError)
TAVIMO_EXCEPTION_CLASS(EUnderflow, EMathError)
TAVIMO_EXCEPTION_CLASS(EIntError, EExternal)
TAVIMO_EXCEPTION_CLASS(EDivByZero, EIntError)
TAVIMO_EXCEPTION_CLASS(EIntOverflow, EIntError)
TAVIMO_EXCEPTION_CLASS(ERangeError, EIntError)
TAVIMO_EXCEPTION_CLASS(EAccessViolation, EExternal)
TAVIMO_EXCEPTION_CLASS(EPrivilege, EExternal)
TAVIMO_EXCEPTION_CLASS(EStackOverflow, EExternal)
TAVIMO_EXCEPTION_CLASS(EControlC, EExternal)
TAVIMO_EXCEPTION_CLASS(EExternalException, EExternal)

}  // namespace tavimo
