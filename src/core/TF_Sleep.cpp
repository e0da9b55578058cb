#include "core/TF_Sleep.h"

namespace pelorin {

void TF_Sleep::Show(const std::string& curMode) {
  curMode_ = curMode;
  visible_ = true;
  Changed();
}

void TF_Sleep::SetCurMode(const std::string& curMode) {
  curMode_ = curMode;
  Changed();
}

void TF_Sleep::OKBtnClick() {
  visible_ = false;
  Changed();
}

void TF_Sleep::Changed() {
  changed();
}

}  // namespace pelorin
