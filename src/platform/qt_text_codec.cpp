#include "platform/qt_text_codec.h"

#include <QByteArray>
#include <QString>
#include <QStringDecoder>
#include <QStringEncoder>

#include "app/text_util.h"

namespace qm {

std::optional<std::string> QtTextCodec::gbkToUtf8(std::string_view gbk) const {
  // A fresh converter per call: converters carry state between chunks.
  QStringDecoder decoder("GBK");
  if (!decoder.isValid()) return std::nullopt;
  QString text = decoder(QByteArrayView(gbk.data(), static_cast<qsizetype>(gbk.size())));
  if (decoder.hasError()) return std::nullopt;
  QByteArray utf8 = text.toUtf8();
  return std::string(utf8.constData(), static_cast<size_t>(utf8.size()));
}

std::optional<std::string> QtTextCodec::utf8ToGbk(std::string_view utf8) const {
  if (!IsValidUtf8(utf8)) return std::nullopt;
  QStringEncoder encoder("GBK");
  if (!encoder.isValid()) return std::nullopt;
  QString text = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
  QByteArray gbk = encoder(text);
  if (encoder.hasError()) return std::nullopt;
  return std::string(gbk.constData(), static_cast<size_t>(gbk.size()));
}

}  // namespace qm
