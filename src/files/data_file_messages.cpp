#include "files/data_file_messages.h"

#include "base/tr.h"

namespace qm {

Message LoadStatusMessage(LoadStatus status) {
  const char* text = QM_TR("文件已经毁坏，请确认。");
  switch (status) {
    case LoadStatus::NotFound:
      text = QM_TR("文件不存在，请确认！");
      break;
    case LoadStatus::NotDataFile:
      text = QM_TR("该文件不是ZR410 的数据文件！");
      break;
    case LoadStatus::NewerVersion:
      text = QM_TR("新的数据文件，请升级你的软件版本！");
      break;
    case LoadStatus::Damaged:
    case LoadStatus::Ok:
      break;
  }
  return Message{QM_TR("文件错误"), text, Icon::Information, Buttons::Ok};
}

}  // namespace qm
