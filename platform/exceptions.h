// The exception hierarchy of the component. Every failure travels as one of
// these up to the automation object, whose COM shell turns the message into the
// script client's error description, so messages are UTF-16 text exactly as the
// client is meant to read it. Each error keeps the class name scripts and
// error logs know it by, so the class tells the kind of failure.
#pragma once

#include <exception>
#include <string>

namespace pk {

class Exception : public std::exception {
 public:
  explicit Exception(std::u16string message);
  const std::u16string& Message() const noexcept { return message_; }
  // The message in UTF-8, for logs and test failures.
  const char* what() const noexcept override { return utf8_.c_str(); }

 private:
  std::u16string message_;
  std::string utf8_;
};

#define PK_DECLARE_EXCEPTION(Name, Base) \
  class Name : public Base {             \
   public:                               \
    using Base::Base;                    \
  }

// Graphics: a malformed or unsupported image, a bad pixel coordinate.
PK_DECLARE_EXCEPTION(EInvalidGraphic, Exception);
PK_DECLARE_EXCEPTION(EInvalidGraphicOperation, Exception);
// An image whose pixels would exceed the component's memory limit.
PK_DECLARE_EXCEPTION(EOutOfResources, Exception);
// Streams and files.
PK_DECLARE_EXCEPTION(EStreamError, Exception);
PK_DECLARE_EXCEPTION(EReadError, EStreamError);
PK_DECLARE_EXCEPTION(EWriteError, EStreamError);
PK_DECLARE_EXCEPTION(EFOpenError, EStreamError);
PK_DECLARE_EXCEPTION(EFCreateError, EStreamError);
// Conversions and arithmetic that must trap rather than wrap or crash.
PK_DECLARE_EXCEPTION(EConvertError, Exception);
PK_DECLARE_EXCEPTION(EDivByZero, Exception);
PK_DECLARE_EXCEPTION(EIntOverflow, Exception);
PK_DECLARE_EXCEPTION(ERangeError, Exception);
PK_DECLARE_EXCEPTION(EListError, Exception);
PK_DECLARE_EXCEPTION(EStringListError, Exception);
PK_DECLARE_EXCEPTION(ENotImplemented, Exception);
// A broken precondition of an internal procedure.
PK_DECLARE_EXCEPTION(EAssertionFailed, Exception);

}  // namespace pk
