// The frame frmScan ("整机功能"): the sixteen radio-wide function lists, rendered from
// FunctionSettingsModel, with red text on a value rejected when it was loaded.
#pragma once

#include <QGroupBox>
#include <array>
#include <functional>

#include "model/function_settings.h"

class QComboBox;
class QLabel;

namespace qm::ui {

class FunctionPanel : public QGroupBox {
  Q_OBJECT
 public:
  explicit FunctionPanel(FunctionSettingsModel& model, QWidget* parent = nullptr);

  // Renders every list again (entries, selection, colour).
  void refresh();
  // The title and labels in the interface language now installed, and the lists again.
  void retranslate();
  QComboBox* list(Fn fn) const { return lists_[static_cast<size_t>(fn)]; }

  // Runs after a choice recoloured the channel grid's bandwidth column.
  std::function<void()> onBandwidthApplied;

 private:
  void render(Fn fn);

  FunctionSettingsModel& model_;
  std::array<QComboBox*, kFunctionListCount> lists_{};
  std::array<QLabel*, kFunctionListCount> labels_{};
  bool syncing_ = false;

 protected:
  void changeEvent(QEvent* event) override;
};

}  // namespace qm::ui
