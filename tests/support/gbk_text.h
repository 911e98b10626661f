// GBK, the code page of the program's texts and of file names on Chinese Windows
// systems, for tests that check bytes against the text they are meant to be.
#ifndef PRECHECK_TESTS_SUPPORT_GBK_TEXT_H_
#define PRECHECK_TESTS_SUPPORT_GBK_TEXT_H_

#include <filesystem>
#include <string>

// GBK bytes as UTF-8; "<undecodable>" for bytes that are not GBK.
std::string gbkToUtf8(const std::string& gbk);

// The file name that a program here reads as the GBK bytes `gbk`: on POSIX the bytes
// themselves, since names pass through unchanged; on Windows the characters they
// encode, which the ANSI code page turns back into GBK when it is code page 936.
std::filesystem::path fileNameFromGbk(const std::string& gbk);

// Whether programs here read file names as GBK: always on POSIX (for names made by
// fileNameFromGbk), on Windows only under code page 936.
bool fileNamesReadAsGbk();

#endif  // PRECHECK_TESTS_SUPPORT_GBK_TEXT_H_
