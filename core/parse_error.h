// The one error that the byte reader and the parsers built on it raise for
// malformed input. It never reaches a client as such: each format catches it
// where it starts parsing and raises that format's own documented error (or,
// for optional metadata, keeps what it has read), so the mapping lives in one
// place per format.
#pragma once

#include "platform/exceptions.h"

namespace pk {

PK_DECLARE_EXCEPTION(ParseError, Exception);

}  // namespace pk
