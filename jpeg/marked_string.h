// The rights "Marked" flag as both metadata models carry it: a text that
// holds whatever the XMP packet said, read as a flag only when it is exactly
// "True" or "False" (case-sensitive).
#pragma once

#include <string>

namespace pk {

inline bool IsMarked(const std::u16string& marked) { return marked == u"True"; }
inline bool IsMarkedDefined(const std::u16string& marked) { return marked == u"True" || marked == u"False"; }
inline void SetMarked(std::u16string& marked, bool value) { marked = value ? u"True" : u"False"; }
// Defining keeps "True" and turns any other text into "False"; undefining
// empties the text.
inline void SetMarkedDefined(std::u16string& marked, bool value) {
  if (value) SetMarked(marked, IsMarked(marked));
  else marked.clear();
}

}  // namespace pk
