// Module handle and the live-object and lock counts of the server.
#include "module.h"

#include <atomic>
#include <vector>

namespace pk::com {
namespace {

HINSTANCE module_handle = nullptr;
std::atomic<long> live_objects{0};
std::atomic<long> server_locks{0};

}  // namespace

void SetModuleHandle(HINSTANCE module) noexcept { module_handle = module; }

HINSTANCE ModuleHandle() noexcept { return module_handle; }

std::wstring ModulePath() {
  std::vector<wchar_t> buffer(MAX_PATH);
  for (;;) {
    DWORD length = GetModuleFileNameW(module_handle, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) return {};
    if (length < buffer.size()) return std::wstring(buffer.data(), length);
    buffer.resize(buffer.size() * 2);  // a long path was truncated: try again
  }
}

void ObjectCreated() noexcept { ++live_objects; }
void ObjectDestroyed() noexcept { --live_objects; }

void LockServer(bool lock) noexcept {
  if (lock) {
    ++server_locks;
  } else {
    --server_locks;
  }
}

bool CanUnload() noexcept { return live_objects == 0 && server_locks == 0; }

}  // namespace pk::com
