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
// Printed as: the first text, the number of values found, the second text.
inline constexpr char kTooFewValuesBefore[] = "the task configuration file holds ";
inline constexpr char kTooFewValuesAfter[] = " values; 6 are needed";

// Configuration.
inline constexpr char kFileOpenError[] = "file open error";

// Folder scan. The text ends with a blank.
inline constexpr char kCanNotFoundFile[] = "can not found the file ... ";

}  // namespace messages

#endif  // PRECHECK_COMMON_MESSAGES_H_
