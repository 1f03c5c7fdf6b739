#include "automation/image_state.h"

namespace pk {

TImageState::TImageState() : bmpMemory(std::make_unique<TBitmap>()), FAlpha(std::make_unique<TAlpha>()) {
  FTransparentArray.fill(255);
}

TImageState::~TImageState() = default;

}  // namespace pk
