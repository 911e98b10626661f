#include "gbk_text.h"

#include <windows.h>

namespace {

constexpr UINT kGbkCodePage = 936;

// UTF-16 text of `gbk`; empty for bytes that are not GBK.
std::wstring decodeGbk(const std::string& gbk) {
  const int inLength = static_cast<int>(gbk.size());
  const int wideLength =
      MultiByteToWideChar(kGbkCodePage, MB_ERR_INVALID_CHARS, gbk.data(), inLength, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(wideLength), L'\0');
  MultiByteToWideChar(kGbkCodePage, MB_ERR_INVALID_CHARS, gbk.data(), inLength, wide.data(),
                      wideLength);
  return wide;
}

}  // namespace

// Through UTF-16, the only way between code pages that Windows offers.
std::string gbkToUtf8(const std::string& gbk) {
  if (gbk.empty()) return "";
  const std::wstring wide = decodeGbk(gbk);
  if (wide.empty()) return "<undecodable>";
  const int wideLength = static_cast<int>(wide.size());
  const int outLength =
      WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideLength, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(outLength), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideLength, out.data(), outLength, nullptr, nullptr);
  return out;
}

std::filesystem::path fileNameFromGbk(const std::string& gbk) { return decodeGbk(gbk); }

bool fileNamesReadAsGbk() { return GetACP() == kGbkCodePage; }
