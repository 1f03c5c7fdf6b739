// Bitmap handles natively: a process-wide table from handle values to owned
// bitmaps. Values start above zero and never repeat within a process, so a
// stale or made-up handle is told apart from a live one.
#include "platform/bitmap_handles.h"

#include <map>
#include <mutex>

#include "platform/bitmap.h"
#include "platform/exceptions.h"
#include "platform/messages.h"

namespace pk {

namespace {

struct THandleTable {
  std::mutex lock;
  std::map<int32_t, std::unique_ptr<TBitmap>> bitmaps;
  int32_t next = 0x1000;
};

THandleTable& Table() {
  static THandleTable table;
  return table;
}

}  // namespace

int32_t CreateBitmapHandle(const TBitmap& bitmap) {
  auto copy = std::make_unique<TBitmap>(bitmap);
  THandleTable& table = Table();
  std::lock_guard<std::mutex> guard(table.lock);
  if (table.next > 0x7FFFFFF0) throw EOutOfResources(msg::kInvalidBitmap);
  const int32_t handle = table.next;
  table.next += 4;
  table.bitmaps.emplace(handle, std::move(copy));
  return handle;
}

std::unique_ptr<TBitmap> TakeOverBitmapHandle(int32_t handle) {
  THandleTable& table = Table();
  std::lock_guard<std::mutex> guard(table.lock);
  auto found = table.bitmaps.find(handle);
  if (found == table.bitmaps.end()) throw EInvalidGraphic(msg::kInvalidBitmap);
  std::unique_ptr<TBitmap> bitmap = std::move(found->second);
  table.bitmaps.erase(found);
  return bitmap;
}

bool DeleteBitmapHandle(int32_t handle) {
  THandleTable& table = Table();
  std::lock_guard<std::mutex> guard(table.lock);
  return table.bitmaps.erase(handle) == 1;
}

bool IsBitmapHandle(int32_t handle) {
  THandleTable& table = Table();
  std::lock_guard<std::mutex> guard(table.lock);
  return table.bitmaps.contains(handle);
}

}  // namespace pk
