// Report inputs shared by the layout and the painting tests.
#pragma once

#include <array>
#include <string>

#include "print/report_layout.h"

namespace qm::test {

inline const print::PageHeaderInput kHeader{"NRV", "QM830K编程软件"};

// Channel n (1-based) receives on 136.n0000 MHz and transmits on 137.n0000 MHz.
inline print::ChannelReportInput AllChannelsInUse() {
  print::ChannelReportInput in;
  in.model = {"机型:", "QM830K", "频率范围:", "136-174MHz"};
  for (int i = 0; i < print::kReportChannels; ++i) {
    const std::string n = std::to_string(i + 1), rx = "136." + n + "0000", tx = "137." + n + "0000";
    in.rows[static_cast<size_t>(i)].cells = {rx,     "CTC 67.0", tx,   "DCS 023",
                                             "添加", "关闭",     "高", "宽带"};
  }
  return in;
}

inline print::FunctionReportInput SampleFunctions() {
  print::FunctionReportInput in;
  in.model = {"机型:", "QM830K", "频率范围:", "136-174MHz"};
  const std::array<const char*, print::kFunctionPairs> texts = {
      "60秒", "打开",     "5秒",  "5",     "关闭",  "关闭",           "关闭",  "打开",
      "宽带", "优先信道", "载波", "2.5秒", "信道3", "稳态无条件监听", "1.0秒", "长按[MONI]键"};
  for (size_t i = 0; i < in.pairs.size(); ++i)
    in.pairs[i] = {print::kFunctionReportLabels[i], texts[i]};
  return in;
}

}  // namespace qm::test
