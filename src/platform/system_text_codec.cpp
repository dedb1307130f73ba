#include "platform/system_text_codec.h"

#include "base/text_util.h"

#ifdef _WIN32
#include "base/windows_api.h"
#else
#include <QByteArray>
#include <QString>
#include <QStringDecoder>
#include <QStringEncoder>
#endif

namespace qm {

#ifdef _WIN32

namespace {

constexpr UINT kGbk = 936;

// Invalid bytes fail rather than turn into replacement characters.
std::optional<std::wstring> Widen(UINT page, std::string_view in) {
  if (in.empty()) return std::wstring();
  const int size = static_cast<int>(in.size());
  const int n = MultiByteToWideChar(page, MB_ERR_INVALID_CHARS, in.data(), size, nullptr, 0);
  if (n <= 0) return std::nullopt;
  std::wstring out(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(page, MB_ERR_INVALID_CHARS, in.data(), size, out.data(), n);
  return out;
}

// A character the code page lacks fails rather than becomes "?" or a look-alike.
std::optional<std::string> Narrow(UINT page, const std::wstring& in) {
  if (in.empty()) return std::string();
  const int size = static_cast<int>(in.size());
  BOOL lossy = FALSE;
  const DWORD flags = page == CP_UTF8 ? 0 : WC_NO_BEST_FIT_CHARS;
  BOOL* usedDefault = page == CP_UTF8 ? nullptr : &lossy;
  const int n = WideCharToMultiByte(page, flags, in.data(), size, nullptr, 0, nullptr, usedDefault);
  if (n <= 0 || lossy) return std::nullopt;
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(page, flags, in.data(), size, out.data(), n, nullptr, usedDefault);
  return out;
}

}  // namespace

std::optional<std::string> SystemTextCodec::gbkToUtf8(std::string_view gbk) const {
  const std::optional<std::wstring> wide = Widen(kGbk, gbk);
  return wide ? Narrow(CP_UTF8, *wide) : std::nullopt;
}

std::optional<std::string> SystemTextCodec::utf8ToGbk(std::string_view utf8) const {
  if (!IsValidUtf8(utf8)) return std::nullopt;
  const std::optional<std::wstring> wide = Widen(CP_UTF8, utf8);
  return wide ? Narrow(kGbk, *wide) : std::nullopt;
}

#else

std::optional<std::string> SystemTextCodec::gbkToUtf8(std::string_view gbk) const {
  // A fresh converter per call, and stateless: a converter otherwise keeps a character cut
  // off at the end for the next chunk, and that one is dropped without an error.
  QStringDecoder decoder("GBK", QStringConverter::Flag::Stateless);
  if (!decoder.isValid()) return std::nullopt;
  QString text = decoder(QByteArrayView(gbk.data(), static_cast<qsizetype>(gbk.size())));
  if (decoder.hasError()) return std::nullopt;
  QByteArray utf8 = text.toUtf8();
  return std::string(utf8.constData(), static_cast<size_t>(utf8.size()));
}

std::optional<std::string> SystemTextCodec::utf8ToGbk(std::string_view utf8) const {
  if (!IsValidUtf8(utf8)) return std::nullopt;
  QStringEncoder encoder("GBK");
  if (!encoder.isValid()) return std::nullopt;
  QString text = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
  QByteArray gbk = encoder(text);
  if (encoder.hasError()) return std::nullopt;
  return std::string(gbk.constData(), static_cast<size_t>(gbk.size()));
}

#endif

}  // namespace qm
