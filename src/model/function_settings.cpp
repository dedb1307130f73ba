#include "model/function_settings.h"

#include <algorithm>
#include <optional>

#include "base/text_util.h"
#include "base/tr.h"
#include "model/layout.h"

namespace qm {

const std::array<FunctionListInfo, kFunctionListCount> kFunctionLists = {{
    {Fn::Monitor, QM_TR("监听"), "Label1", "cboRadio_0"},
    {Fn::TxTimeout, QM_TR("发射限时"), "Label1", "cboRadio_1"},
    {Fn::KeyBeep, QM_TR("提示音"), "Label1", "cboRadio_2"},
    {Fn::PreAlert, QM_TR("预告警时间"), "lblCAT", "cboRadio_3"},
    {Fn::BatterySave, QM_TR("省电功能"), "Label1", "cboRadio_4"},
    {Fn::Squelch, QM_TR("静噪等级"), "Label1", "cboRadio_5"},
    {Fn::TotRekey, QM_TR("TOT再按键时间"), "lblTotRekeyT", "cboRadio_6"},
    {Fn::TotReset, QM_TR("TOT复位时间"), "lblTotResetT", "cboRadio_7"},
    {Fn::ManualMode, QM_TR("手动模式"), "Label1", "cboRadio_8"},
    {Fn::Bandwidth, QM_TR("带宽"), "Label1", "cboRadio_9"},
    {Fn::PowerKey, QM_TR("功率选择"), "Label1", "cboRadio_10"},
    {Fn::ScanMode, QM_TR("扫描模式"), "Label1", "cmbScan_0"},
    {Fn::Priority, QM_TR("优先信道"), "Label1", "cmbScan_1"},
    {Fn::LookBack, QM_TR("回扫周期"), "Label1", "cmbScan_2"},
    {Fn::ScanHang, QM_TR("扫描停留时间"), "Label1", "cmbScan_3"},
    {Fn::Revert, QM_TR("恢复信道"), "Label1", "cmbScan_4"},
}};

const std::array<Fn, kFunctionListCount> kFunctionLayout = {
    Fn::TxTimeout, Fn::PreAlert, Fn::TotRekey,   Fn::TotReset,     //
    Fn::KeyBeep,   Fn::Squelch,  Fn::ManualMode, Fn::BatterySave,  //
    Fn::Bandwidth, Fn::ScanMode, Fn::Priority,   Fn::LookBack,     //
    Fn::Revert,    Fn::ScanHang, Fn::Monitor,    Fn::PowerKey,
};

const std::array<const char*, 4> kMonitorModes = {QM_TR("关闭监听功能"), QM_TR("暂态无条件监听"),
                                                  QM_TR("稳态无条件监听"), QM_TR("暂态有条件监听")};

namespace {

constexpr const char* kOff = QM_TR("关闭");
constexpr const char* kOn = QM_TR("打开");
constexpr const char* kLongPress = QM_TR("长按[MONI]键");

std::vector<std::string> Seconds(int last) {
  std::vector<std::string> out{kOff};
  for (int n = 1; n <= last; ++n) out.push_back(Fill(QM_TR("%1秒"), {std::to_string(n)}));
  return out;
}

}  // namespace

std::vector<std::string> MonitorListItems(bool withMomentary) {
  std::vector<std::string> out{kMonitorModes[0]};
  if (withMomentary) out.push_back(kMonitorModes[1]);
  out.push_back(kMonitorModes[2]);
  if (withMomentary) out.push_back(kMonitorModes[3]);
  return out;
}

std::vector<std::string> FunctionListItems(Fn fn, char sep) {
  switch (fn) {
    case Fn::Monitor:
      return MonitorListItems(true);
    case Fn::TxTimeout: {
      std::vector<std::string> out{QM_TR("10分钟")};
      for (int n = 1; n <= 10; ++n) out.push_back(Fill(QM_TR("%1秒"), {std::to_string(30 * n)}));
      out.push_back(QM_TR("无限制"));
      return out;
    }
    case Fn::KeyBeep:
    case Fn::BatterySave:
    case Fn::ManualMode:
      return {kOff, kOn};
    case Fn::PreAlert:
      return Seconds(255);
    case Fn::Squelch: {
      std::vector<std::string> out;
      for (int n = 0; n <= 9; ++n) out.push_back(std::to_string(n));
      return out;
    }
    case Fn::TotRekey:
      return Seconds(60);
    case Fn::TotReset:
      return Seconds(15);
    case Fn::Bandwidth:
      return {QM_TR("宽带"), QM_TR("窄带")};
    case Fn::PowerKey:
      return {QM_TR("无"), QM_TR("短按[MONI]键"), kLongPress};
    case Fn::ScanMode:
      return {kOff, QM_TR("载波"), QM_TR("时间")};
    case Fn::Priority: {
      std::vector<std::string> out{kOff};
      for (int n = 1; n <= 15; ++n) out.push_back(Fill(QM_TR("信道%1"), {std::to_string(n)}));
      return out;
    }
    case Fn::LookBack: {
      std::vector<std::string> out;
      for (int n = 3; n <= 50; ++n)
        out.push_back(Fill(QM_TR("%1秒"), {FormatFixed(n / 10.0, 1, 1, sep)}));
      return out;
    }
    case Fn::ScanHang: {
      std::vector<std::string> out;
      for (int n = 1; n <= 10; ++n)
        out.push_back(Fill(QM_TR("%1秒"), {FormatFixed(n * 0.5, 1, 1, sep)}));
      return out;
    }
    case Fn::Revert:
      return {QM_TR("最近接收呼叫信道"), QM_TR("最近使用信道"), QM_TR("第一个扫描信道"),
              QM_TR("优先信道")};
  }
  return {};
}

FunctionSettingsModel::FunctionSettingsModel(const AppState& app, EditFlags& flags,
                                             Prompter& prompter)
    : app_(app), flags_(flags), prompter_(prompter) {
  BuildComboLists();
}

void FunctionSettingsModel::BuildComboLists() {
  for (const FunctionListInfo& info : kFunctionLists)
    mut(info.id) = FunctionSetting{ComboModel(FunctionListItems(info.id, app_.decimalSep)), false};
}

void FunctionSettingsModel::FillMonitorList(bool withMomentary) {
  mut(Fn::Monitor).combo = ComboModel(MonitorListItems(withMomentary));
}

void FunctionSettingsModel::setBandwidthListener(std::function<void(const std::string&)> listener) {
  bandwidthListener_ = std::move(listener);
}

FunctionChange FunctionSettingsModel::choose(Fn fn, int position) {
  FunctionChange change;
  if (position < 0 || position >= list(fn).count()) return change;
  EditScope scope(observer_, Fill(QM_TR("修改%1"), {FunctionInfo(fn).label}));
  mut(fn).combo.select(position);
  change.add(fn);
  runClick(fn, change);
  return change;
}

void FunctionSettingsModel::selectByProgram(Fn fn, int position, FunctionChange& change) {
  // A selection made by the program acts as the user's choice of that entry; clearing it
  // is no choice, and a position outside the list keeps what was selected.
  if (position == -1) {
    if (mut(fn).combo.selected() != -1) change.add(fn);
    mut(fn).combo.select(-1);
    return;
  }
  if (position < 0 || position >= list(fn).count()) return;
  mut(fn).combo.select(position);
  change.add(fn);
  runClick(fn, change);
}

void FunctionSettingsModel::runClick(Fn fn, FunctionChange& change) {
  FunctionSetting& s = mut(fn);
  s.rejected = false;
  if (static_cast<int>(fn) > static_cast<int>(Fn::PowerKey)) {
    flags_.dataChanged = true;  // cmbScan
    return;
  }
  flags_.functionsChanged = true;
  if (fn == Fn::Bandwidth) {
    if (bandwidthListener_) bandwidthListener_(s.combo.text());
    change.bandwidthApplied = true;
  } else if (fn == Fn::PowerKey) {
    ComboModel& monitor = mut(Fn::Monitor).combo;
    const std::string before = monitor.text();
    const int beforePos = monitor.selected();
    if (s.combo.text() == kLongPress) {
      if (monitor.count() > 3) {
        RemoveComboItem(monitor, kMonitorModes[1]);
        RemoveComboItem(monitor, kMonitorModes[3]);
        change.add(Fn::Monitor);
      }
    } else if (monitor.count() < 3) {
      InsertComboItem(monitor, kMonitorModes[1], 1);
      InsertComboItem(monitor, kMonitorModes[3], 3);
      change.add(Fn::Monitor);
    }
    if (monitor.text() != before || (beforePos < 0 && monitor.selected() >= 0)) {
      FunctionChange ignored;
      runClick(Fn::Monitor, ignored);
    }
    change.focusMonitor = true;
  }
}

void FunctionSettingsModel::reject(Fn fn, const char* message, bool mark) {
  Notify(prompter_, kAppTitle, message, Icon::None);
  if (mark) mut(fn).rejected = true;
}

void FunctionSettingsModel::loadChecked(Fn fn, bool ok, const char* message, int position,
                                        FunctionChange& change) {
  if (!ok)
    reject(fn, message, true);
  else
    mut(fn).rejected = false;
  selectByProgram(fn, position, change);
}

void FunctionSettingsModel::LoadFunctions(ConstRow block) {
  const Functions fb = DecodeFunctions(block);
  FunctionChange change;
  constexpr int kKeep = -2;  // a position that selects nothing new
  auto bcdPos = [](Bcd b, int offset = 0) {
    auto v = b.value();
    return v ? *v + offset : kKeep;
  };

  // 1. transmit time-out and the three time-out timers
  {
    const Bcd b = fb.txTimeout;
    if (b.raw == kTxTimeoutUnlimited) {
      mut(Fn::TxTimeout).rejected = false;
      selectByProgram(Fn::TxTimeout, 11, change);
    } else {
      auto v = b.value();
      if (b.raw <= 0x30 && v && *v % 3 == 0) {
        mut(Fn::TxTimeout).rejected = false;
        selectByProgram(Fn::TxTimeout, *v / 3, change);
      } else {
        // The only rejection that leaves the colour alone and keeps the selection.
        reject(Fn::TxTimeout, QM_TR("发射限时错误！"), false);
      }
    }
  }
  selectByProgram(Fn::PreAlert, fb.preAlert, change);
  loadChecked(Fn::TotRekey, fb.totRekey.raw <= 0x60, QM_TR("TOT再按键时间错误！"),
              bcdPos(fb.totRekey), change);
  loadChecked(Fn::TotReset, fb.totReset.raw <= 0x15, QM_TR("TOT复位时间错误！"),
              bcdPos(fb.totReset), change);

  // 2. the switches
  selectByProgram(Fn::KeyBeep, fb.keyBeep, change);
  selectByProgram(Fn::BatterySave, fb.batterySave, change);
  selectByProgram(Fn::Bandwidth, static_cast<int>(fb.bandwidth), change);
  selectByProgram(Fn::ManualMode, fb.manualMode, change);

  // 3. squelch level
  loadChecked(Fn::Squelch, fb.squelch <= 9, QM_TR("静噪等级错误！"), fb.squelch, change);

  // 4. the scan settings
  selectByProgram(Fn::ScanMode, fb.scanMode, change);
  loadChecked(Fn::Priority, fb.priority.raw <= 0x15, QM_TR("优先信道错误！"), bcdPos(fb.priority),
              change);
  {
    int pos = bcdPos(fb.lookBack, -3);
    if (pos < -1) pos = kKeep;
    loadChecked(Fn::LookBack, fb.lookBack.raw >= 3 && fb.lookBack.raw <= 0x50,
                QM_TR("回扫周期错误！"), pos, change);
  }
  {
    const int v = fb.revert;
    loadChecked(Fn::Revert, v >= 1 && v <= 4, QM_TR("回复信道错误！"), v - 1, change);
  }
  {
    auto v = fb.scanHang.value();
    const bool ok = fb.scanHang.raw <= 0x50 && v && *v % 5 == 0;
    int pos = kKeep;
    if (v) {
      pos = static_cast<int>(RoundHalfEven(*v / 5.0 - 1.0));
      if (pos < -1) pos = kKeep;
    }
    loadChecked(Fn::ScanHang, ok, QM_TR("扫描停留时间错误！"), pos, change);
  }

  // 5. power selection key, the monitor list it shapes, then the monitor mode
  selectByProgram(Fn::PowerKey, fb.powerKey, change);
  FillMonitorList(position(Fn::PowerKey) != 2);
  {
    const int mode = fb.monitor;
    const std::string wanted = mode < 4 ? kMonitorModes[static_cast<size_t>(mode)] : "";
    int pos = list(Fn::Monitor).find(wanted);
    selectByProgram(Fn::Monitor, pos < 0 ? 0 : pos, change);
  }
}

void FunctionSettingsModel::StoreFunctions(Row block) const {
  // A list with nothing selected stores as its first entry would, except where the
  // position formula itself gives the value back (look-back, hang time, revert channel).
  auto pos0 = [this](Fn fn) { return std::max(position(fn), 0); };
  auto u8 = [](int v) { return static_cast<uint8_t>(v); };

  Functions fb = DecodeFunctions(block);
  fb.scanMode = u8(pos0(Fn::ScanMode));
  fb.priority = Bcd::Of(pos0(Fn::Priority));
  fb.lookBack = Bcd::Of(position(Fn::LookBack) + 3);
  fb.scanHang = Bcd::Of(5 * (position(Fn::ScanHang) + 1));
  fb.revert = u8(position(Fn::Revert) + 1);
  fb.manualMode = pos0(Fn::ManualMode) != 0;

  int monitor = 0;
  const std::string& mtext = text(Fn::Monitor);
  for (int v = 1; v < 4; ++v)
    if (mtext == kMonitorModes[static_cast<size_t>(v)]) monitor = v;
  fb.monitor = u8(monitor);

  fb.powerKey = u8(pos0(Fn::PowerKey));
  fb.powerKeySpare = 0;
  const int tot = position(Fn::TxTimeout);
  fb.txTimeout = tot >= 0 && tot <= 10 ? Bcd::Of(3 * tot) : Bcd{kTxTimeoutUnlimited};
  fb.preAlert = u8(pos0(Fn::PreAlert));
  fb.totRekey = Bcd::Of(pos0(Fn::TotRekey));
  fb.totReset = Bcd::Of(pos0(Fn::TotReset));
  fb.keyBeep = pos0(Fn::KeyBeep) != 0;
  fb.bandwidth = pos0(Fn::Bandwidth) != 0 ? Bandwidth::Narrow : Bandwidth::Wide;
  fb.batterySave = pos0(Fn::BatterySave) != 0;
  fb.squelch = u8(pos0(Fn::Squelch));
  EncodeFunctions(fb, block);
}

}  // namespace qm
