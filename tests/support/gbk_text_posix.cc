#include "gbk_text.h"

#include <iconv.h>

std::string gbkToUtf8(const std::string& gbk) {
  iconv_t converter = iconv_open("UTF-8", "GBK");
  if (converter == reinterpret_cast<iconv_t>(-1)) return "<no GBK converter>";
  std::string in = gbk;
  std::string out(in.size() * 4 + 4, '\0');
  char* inPtr = in.data();
  std::size_t inLeft = in.size();
  char* outPtr = out.data();
  std::size_t outLeft = out.size();
  std::size_t result = iconv(converter, &inPtr, &inLeft, &outPtr, &outLeft);
  iconv_close(converter);
  if (result == static_cast<std::size_t>(-1) || inLeft != 0) return "<undecodable>";
  out.resize(out.size() - outLeft);
  return out;
}

std::filesystem::path fileNameFromGbk(const std::string& gbk) { return gbk; }

bool fileNamesReadAsGbk() { return true; }
