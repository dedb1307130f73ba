#include "base/app_state.h"

namespace qm {

namespace {
const ModelEntry kNoModel{};
}

const ModelEntry& AppState::model(int index) const {
  if (index < 0 || index >= static_cast<int>(models.size())) return kNoModel;
  return models[static_cast<size_t>(index)];
}

const ModelEntry& AppState::currentModel() const { return model(curModel); }

}  // namespace qm
