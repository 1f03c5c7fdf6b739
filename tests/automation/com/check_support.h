// What the two Windows check programs of the COM server share (they run under
// Wine, outside GoogleTest, so that they can load the built DLL itself): a
// pass/fail tally that prints each failed check and the closing
// "N passed, N failed" line, an owning interface pointer, and the path and
// text conversions.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <cstdio>
#include <string>

namespace pk::check {

inline int passed = 0;
inline int failed = 0;

inline void Expect(bool condition, const std::string& what) {
  if (condition) {
    ++passed;
  } else {
    ++failed;
    std::printf("FAILED: %s\n", what.c_str());
  }
}

// Prints the tally; the process exit code.
inline int Summary() {
  std::printf("%d passed, %d failed\n", passed, failed);
  return failed == 0 ? 0 : 1;
}

template <class Interface>
struct Ref {
  Interface* p = nullptr;
  Ref() = default;
  Ref(const Ref&) = delete;
  Ref& operator=(const Ref&) = delete;
  ~Ref() {
    if (p) p->Release();
  }
  Interface* operator->() const { return p; }
  void** Out() { return reinterpret_cast<void**>(&p); }
};

inline std::string Narrow(const wchar_t* text) {
  std::string out;
  for (; text && *text; ++text) out += static_cast<char>(*text);
  return out;
}

// The text of a BSTR, which is freed.
inline std::string Take(BSTR text) {
  std::string out = Narrow(text);
  SysFreeString(text);
  return out;
}

// Wine and Windows both take a DOS path; the runner hands a Unix one.
inline std::wstring DosPath(const char* path) {
  std::wstring out;
  if (path[0] == '/') out = L"Z:";
  for (const char* c = path; *c; ++c) out += *c == '/' ? L'\\' : static_cast<wchar_t>(*c);
  return out;
}

}  // namespace pk::check
