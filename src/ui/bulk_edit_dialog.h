// "批量修改": the settings a bulk edit can change on the chosen rows, each with a check box;
// only the checked ones change. The signalling fields open the grid's own signalling dialog.
#pragma once

#include <QDialog>
#include <functional>
#include <optional>
#include <vector>

#include "base/app_state.h"
#include "base/prompter.h"
#include "document/channel_edits.h"

class QCheckBox;
class QComboBox;
class QGridLayout;
class QLabel;
class QLineEdit;

namespace qm::ui {

class DlgBulkEdit : public QDialog {
  Q_OBJECT
 public:
  // channels: the rows the edit applies to (0..15), named in the dialog.
  DlgBulkEdit(const AppState& app, Prompter& prompter, const std::vector<int>& channels,
              QWidget* parent = nullptr);

  // What the checked fields ask for.
  BulkEdit edit() const;
  // Shows it modally. OK hands the edit to apply; when apply refuses it, its message is
  // shown, the field it names is marked and the dialog stays open with every choice. The
  // result of the edit applied, nullopt on Cancel or when nothing was chosen.
  using Apply = std::function<BulkResult(const BulkEdit&)>;
  std::optional<BulkResult> run(const Apply& apply);

 private:
  void tryAccept();
  QLineEdit* fieldWidget(BulkField field) const;
  void mark(QLineEdit* field);

  // A check box and the widgets it enables.
  QCheckBox* addField(const char* name, const QString& text, QList<QWidget*> widgets);
  QComboBox* addChoice(const char* name, const char* check, const QString& text,
                       const QStringList& entries);
  QLineEdit* addSignal(const char* name, const char* check, const QString& text);

  const AppState& app_;
  Prompter& prompter_;
  QGridLayout* grid_ = nullptr;
  int rows_ = 0;
  QComboBox* bandwidth_ = nullptr;
  QComboBox* power_ = nullptr;
  QComboBox* scan_ = nullptr;
  QComboBox* busyLock_ = nullptr;
  QComboBox* txInhibit_ = nullptr;
  QLineEdit* rxSignal_ = nullptr;
  QLineEdit* txSignal_ = nullptr;
  QCheckBox* txEqRx_ = nullptr;
  QCheckBox* fill_ = nullptr;
  QLineEdit* fillFrom_ = nullptr;
  QLineEdit* fillStep_ = nullptr;
  QCheckBox* fillTx_ = nullptr;
  Apply apply_;
  std::optional<BulkResult> result_;
};

}  // namespace qm::ui
