// The GBK codec of the tests: Qt's where the tests link Qt, and where they do not (the
// Windows build of the core and its tests) the system's own code page 936 conversion.
#pragma once

#if defined(_WIN32) && !defined(QT_CORE_LIB)
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

#include "files/text_codec.h"

namespace qm::test {

class GbkCodec : public TextCodec {
 public:
  std::optional<std::string> gbkToUtf8(std::string_view gbk) const override {
    const std::optional<std::wstring> wide = Widen(kGbk, gbk);
    return wide ? Narrow(CP_UTF8, *wide) : std::nullopt;
  }
  std::optional<std::string> utf8ToGbk(std::string_view utf8) const override {
    const std::optional<std::wstring> wide = Widen(CP_UTF8, utf8);
    return wide ? Narrow(kGbk, *wide) : std::nullopt;
  }

 private:
  static constexpr UINT kGbk = 936;

  // Invalid bytes fail rather than turn into replacement characters.
  static std::optional<std::wstring> Widen(UINT page, std::string_view in) {
    if (in.empty()) return std::wstring();
    const int size = static_cast<int>(in.size());
    const int n = MultiByteToWideChar(page, MB_ERR_INVALID_CHARS, in.data(), size, nullptr, 0);
    if (n <= 0) return std::nullopt;
    std::wstring out(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(page, MB_ERR_INVALID_CHARS, in.data(), size, out.data(), n);
    return out;
  }
  // A character the code page lacks fails rather than becomes "?" or a look-alike.
  static std::optional<std::string> Narrow(UINT page, const std::wstring& in) {
    if (in.empty()) return std::string();
    const int size = static_cast<int>(in.size());
    BOOL lossy = FALSE;
    const DWORD flags = page == CP_UTF8 ? 0 : WC_NO_BEST_FIT_CHARS;
    BOOL* usedDefault = page == CP_UTF8 ? nullptr : &lossy;
    const int n =
        WideCharToMultiByte(page, flags, in.data(), size, nullptr, 0, nullptr, usedDefault);
    if (n <= 0 || lossy) return std::nullopt;
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(page, flags, in.data(), size, out.data(), n, nullptr, usedDefault);
    return out;
  }
};

}  // namespace qm::test

#else

#include "platform/qt_text_codec.h"

namespace qm::test {
using GbkCodec = QtTextCodec;
}  // namespace qm::test

#endif
