#include "base/app_state.h"

#include <cstdio>

namespace qm {

namespace {
const ModelEntry kNoModel{};
}

const ModelEntry& AppState::model(int index) const {
  if (index < 0 || index >= static_cast<int>(models.size())) return kNoModel;
  return models[static_cast<size_t>(index)];
}

const ModelEntry& AppState::currentModel() const { return model(curModel); }

std::string RadioVersion::text() const {
  char buf[8];
  std::snprintf(buf, sizeof buf, "%X.%X", static_cast<unsigned>(major),
                static_cast<unsigned>(minor));
  return buf;
}

}  // namespace qm
