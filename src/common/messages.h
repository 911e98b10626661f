// Every text the program writes, in one place. The Chinese texts are GBK bytes, the
// code page of the systems this tool serves; the comment beside each shows it
// readable. messages_test.cc decodes them and compares them with the intended text.
#ifndef PRECHECK_COMMON_MESSAGES_H_
#define PRECHECK_COMMON_MESSAGES_H_

namespace messages {

// Driver.
inline constexpr char kOpenFileFailed[] = "open file failed!";
// 开始检测影像分辨率...
inline constexpr char kStartResolutionCheck[] =
    "\xbf\xaa\xca\xbc\xbc\xec\xb2\xe2\xd3\xb0\xcf\xf1\xb7\xd6\xb1\xe6\xc2\xca" "...";
// 开始检测相机制造商...
inline constexpr char kStartCameraMakeCheck[] =
    "\xbf\xaa\xca\xbc\xbc\xec\xb2\xe2\xcf\xe0\xbb\xfa\xd6\xc6\xd4\xec\xc9\xcc" "...";
// 开始检测输入影像焦距...
inline constexpr char kStartFocalLengthCheck[] =
    "\xbf\xaa\xca\xbc\xbc\xec\xb2\xe2\xca\xe4\xc8\xeb\xd3\xb0\xcf\xf1\xbd\xb9\xbe\xe0" "...";
// 开始检测输入影像是否含有gps...
inline constexpr char kStartGpsCheck[] =
    "\xbf\xaa\xca\xbc\xbc\xec\xb2\xe2\xca\xe4\xc8\xeb\xd3\xb0\xcf\xf1\xca\xc7\xb7\xf1\xba\xac"
    "\xd3\xd0" "gps...";
// \n检查影像的分辨率，相机制造商，焦距，含有GPS等指标均正常...\n
inline constexpr char kAllClear[] =
    "\n\xbc\xec\xb2\xe9\xd3\xb0\xcf\xf1\xb5\xc4\xb7\xd6\xb1\xe6\xc2\xca\xa3\xac\xcf\xe0\xbb\xfa"
    "\xd6\xc6\xd4\xec\xc9\xcc\xa3\xac\xbd\xb9\xbe\xe0\xa3\xac\xba\xac\xd3\xd0" "GPS"
    "\xb5\xc8\xd6\xb8\xb1\xea\xbe\xf9\xd5\xfd\xb3\xa3" "...\n";
// Printed as: the first text, the number of values found, " value" or " values", the
// last text.
inline constexpr char kTooFewValuesBefore[] = "the task configuration file holds ";
inline constexpr char kOneValue[] = " value";
inline constexpr char kManyValues[] = " values";
inline constexpr char kTooFewValuesAfter[] = "; 6 are needed";

// Folder scan. The text ends with a blank.
inline constexpr char kCanNotFoundFile[] = "can not found the file ... ";

// Checks: the header, one progress line per image, the report block.
inline constexpr char kNumberOfImages[] = "The number of images: ";
// 检测分辨率的影像序列: 
inline constexpr char kResolutionProgress[] =
    "\xbc\xec\xb2\xe2\xb7\xd6\xb1\xe6\xc2\xca\xb5\xc4\xd3\xb0\xcf\xf1\xd0\xf2\xc1\xd0" ": ";
// 检测相机制造商的影像序列: 
inline constexpr char kCameraMakeProgress[] =
    "\xbc\xec\xb2\xe2\xcf\xe0\xbb\xfa\xd6\xc6\xd4\xec\xc9\xcc\xb5\xc4\xd3\xb0\xcf\xf1\xd0\xf2"
    "\xc1\xd0" ": ";
// 检测焦距的影像序列: 
inline constexpr char kFocalLengthProgress[] =
    "\xbc\xec\xb2\xe2\xbd\xb9\xbe\xe0\xb5\xc4\xd3\xb0\xcf\xf1\xd0\xf2\xc1\xd0" ": ";
// 检测GPS信息的影像序列: 
inline constexpr char kGpsProgress[] =
    "\xbc\xec\xb2\xe2" "GPS" "\xd0\xc5\xcf\xa2\xb5\xc4\xd3\xb0\xcf\xf1\xd0\xf2\xc1\xd0" ": ";
inline constexpr char kProgressArrow[] = " ----> ";
// 该类错误影像共：
inline constexpr char kOffendingCount[] =
    "\xb8\xc3\xc0\xe0\xb4\xed\xce\xf3\xd3\xb0\xcf\xf1\xb9\xb2\xa3\xba";
// 错误影像序列: 
inline constexpr char kOffendingNumber[] = "\xb4\xed\xce\xf3\xd3\xb0\xcf\xf1\xd0\xf2\xc1\xd0" ": ";
inline constexpr char kOffendingNumberArrow[] = " ====> ";
// 不相同的文件名为： 
inline constexpr char kOffendingName[] =
    "\xb2\xbb\xcf\xe0\xcd\xac\xb5\xc4\xce\xc4\xbc\xfe\xc3\xfb\xce\xaa\xa3\xba" " ";
inline constexpr char kOffendingNameArrow[] = " *----> ";

// Report descriptions, written into error.json.
// 影像的分辨率不一致.
inline constexpr char kResolutionMismatch[] =
    "\xd3\xb0\xcf\xf1\xb5\xc4\xb7\xd6\xb1\xe6\xc2\xca\xb2\xbb\xd2\xbb\xd6\xc2" ".";
// 影像的相机制造商不一致.
inline constexpr char kCameraMakeMismatch[] =
    "\xd3\xb0\xcf\xf1\xb5\xc4\xcf\xe0\xbb\xfa\xd6\xc6\xd4\xec\xc9\xcc\xb2\xbb\xd2\xbb\xd6\xc2" ".";
// 影像的相机焦距为0.
inline constexpr char kFocalLengthZero[] =
    "\xd3\xb0\xcf\xf1\xb5\xc4\xcf\xe0\xbb\xfa\xbd\xb9\xbe\xe0\xce\xaa" "0.";
// 影像不含gps信息.
inline constexpr char kNoGps[] = "\xd3\xb0\xcf\xf1\xb2\xbb\xba\xac" "gps" "\xd0\xc5\xcf\xa2" ".";
// 没检测到影像数据.
inline constexpr char kNoImages[] =
    "\xc3\xbb\xbc\xec\xb2\xe2\xb5\xbd\xd3\xb0\xcf\xf1\xca\xfd\xbe\xdd" ".";

// Printed after the report text when error.json could not be written.
inline constexpr char kReportNotWritten[] = "the report could not be written to ";

}  // namespace messages

#endif  // PRECHECK_COMMON_MESSAGES_H_
