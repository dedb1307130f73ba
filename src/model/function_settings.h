// The radio-wide function lists of the frame "整机功能": sixteen drop-down lists holding
// the function block as list positions, with the marks of values rejected on load.
#pragma once

#include <array>
#include <bitset>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "base/app_state.h"
#include "base/combo.h"
#include "base/prompter.h"
#include "model/edit_flags.h"
#include "model/edit_observer.h"
#include "model/image.h"

namespace qm {

// The lists by control: values 0..10 are cboRadio(0..10), 11..15 are cmbScan(0..4).
enum class Fn : int {
  Monitor = 0,      // cboRadio(0)  "监听"           byte 0 bits 7-5
  TxTimeout = 1,    // cboRadio(1)  "发射限时"       byte 7
  KeyBeep = 2,      // cboRadio(2)  "提示音"         byte 12 bit 5
  PreAlert = 3,     // cboRadio(3)  "预告警时间"     byte 13
  BatterySave = 4,  // cboRadio(4)  "省电功能"       byte 12 bit 3
  Squelch = 5,      // cboRadio(5)  "静噪等级"       byte 11
  TotRekey = 6,     // cboRadio(6)  "TOT再按键时间"  byte 14
  TotReset = 7,     // cboRadio(7)  "TOT复位时间"    byte 15
  ManualMode = 8,   // cboRadio(8)  "手动模式"       byte 12 bit 0
  Bandwidth = 9,    // cboRadio(9)  "带宽"           byte 12 bit 1
  PowerKey = 10,    // cboRadio(10) "功率选择"       byte 4
  ScanMode = 11,    // cmbScan(0)   "扫描模式"       byte 0 bits 4-3
  Priority = 12,    // cmbScan(1)   "优先信道"       byte 2
  LookBack = 13,    // cmbScan(2)   "回扫周期"       byte 3
  ScanHang = 14,    // cmbScan(3)   "扫描停留时间"   byte 6
  Revert = 15,      // cmbScan(4)   "恢复信道"       byte 1 bits 2-0
};
inline constexpr int kFunctionListCount = 16;

struct FunctionListInfo {
  Fn id;
  const char* label;         // the label beside the list
  const char* labelControl;  // lblCAT, lblTotRekeyT, lblTotResetT, else the array Label1
  const char* control;       // the list's objectName: cboRadio_N or cmbScan_N
};
// In list order (indexed by Fn).
extern const std::array<FunctionListInfo, kFunctionListCount> kFunctionLists;
// The four columns of the frame, top to bottom, left column first.
extern const std::array<Fn, kFunctionListCount> kFunctionLayout;

inline const FunctionListInfo& FunctionInfo(Fn fn) {
  return kFunctionLists[static_cast<size_t>(fn)];
}

// The monitor modes by value, and the list FillMonitorList builds.
extern const std::array<const char*, 4> kMonitorModes;
std::vector<std::string> MonitorListItems(bool withMomentary);
// The entries of a list as the window holds them after start-up (the monitor list with the
// momentary entries). Generated "0.0" texts use the decimal separator sep.
std::vector<std::string> FunctionListItems(Fn fn, char sep = '.');

struct FunctionSetting {
  ComboModel combo;
  bool rejected = false;  // red text: the value loaded for it failed its load check
  bool operator==(const FunctionSetting&) const = default;
};

// What an operation changed, for the widgets to repaint.
struct FunctionChange {
  std::bitset<kFunctionListCount> lists;  // bit = static_cast<int>(Fn)
  bool bandwidthApplied = false;          // the channel grid's bandwidth column was recoloured
  bool focusMonitor = false;              // the monitor list should take the focus
  void add(Fn fn) { lists.set(static_cast<size_t>(fn)); }
  bool any() const { return lists.any() || bandwidthApplied; }
};

class FunctionSettingsModel {
 public:
  FunctionSettingsModel(const AppState& app, EditFlags& flags, Prompter& prompter);

  // The working copy an undo step keeps: every list with its entries, selection and mark.
  using State = std::array<FunctionSetting, kFunctionListCount>;
  State state() const { return settings_; }
  void restore(const State& s) { settings_ = s; }
  void setEditObserver(EditObserver* observer) { observer_ = observer; }

  // Clears and refills every list (BuildComboLists and FillMonitorList(true)); nothing
  // selected afterwards.
  void BuildComboLists();
  void FillMonitorList(bool withMomentary);

  // Runs with the bandwidth list's text whenever its click handler runs (cboRadio(9)).
  void setBandwidthListener(std::function<void(const std::string&)> listener);

  const FunctionSetting& setting(Fn fn) const { return settings_[static_cast<size_t>(fn)]; }
  const ComboModel& list(Fn fn) const { return setting(fn).combo; }
  int position(Fn fn) const { return list(fn).selected(); }
  const std::string& text(Fn fn) const { return list(fn).text(); }
  bool rejected(Fn fn) const { return setting(fn).rejected; }

  // The user chose an entry (a click). Out-of-range positions change nothing.
  FunctionChange choose(Fn fn, int position);

  // The function half of DisplayRadioData, in its order, with the load checks and their
  // messages. The caller restores the change flags afterwards.
  void LoadFunctions(ConstRow block);
  // The function half of CollectRadioData, in its order; other bits stay.
  void StoreFunctions(Row block) const;

 private:
  FunctionSetting& mut(Fn fn) { return settings_[static_cast<size_t>(fn)]; }
  // A selection made while loading: selecting an entry runs the click handler as a
  // choice would; -1 clears without a click; other positions keep the selection.
  void selectByProgram(Fn fn, int position, FunctionChange& change);
  void runClick(Fn fn, FunctionChange& change);
  void reject(Fn fn, const char* message, bool mark);
  void loadChecked(Fn fn, bool ok, const char* message, int position, FunctionChange& change);

  const AppState& app_;
  EditFlags& flags_;
  Prompter& prompter_;
  EditObserver* observer_ = nullptr;
  std::function<void(const std::string&)> bandwidthListener_;
  std::array<FunctionSetting, kFunctionListCount> settings_{};
};

}  // namespace qm
