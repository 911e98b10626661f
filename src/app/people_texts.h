// The program's texts for people at a terminal, each beside its Chinese original (GBK,
// shown readable in the comment above it). people_texts_test.cc decodes each one and
// compares it with the comment's text. The checks' own names are rows of kChecks.
#ifndef PRECHECK_APP_PEOPLE_TEXTS_H_
#define PRECHECK_APP_PEOPLE_TEXTS_H_

#include "common/bilingual.h"

namespace texts {

// What each check found.
// 通过
inline constexpr Bilingual kPassed{"\xcd\xa8\xb9\xfd", "passed"};
// 未通过
inline constexpr Bilingual kNotPassed{"\xce\xb4\xcd\xa8\xb9\xfd", "not passed"};
// {1} 张影像
inline constexpr Bilingual kImages{"{1} \xd5\xc5\xd3\xb0\xcf\xf1", "{1} images", "{1} image"};
// {2} 张影像中 {1} 张有误
inline constexpr Bilingual kOffendingOf{
    "{2} \xd5\xc5\xd3\xb0\xcf\xf1\xd6\xd0 {1} \xd5\xc5\xd3\xd0\xce\xf3",
    "{1} of {2} images offending", "{1} of {2} image offending"};
// 未运行（开关未打开）
inline constexpr Bilingual kNotRun{
    "\xce\xb4\xd4\xcb\xd0\xd0\xa3\xa8\xbf\xaa\xb9\xd8\xce\xb4\xb4\xf2\xbf\xaa\xa3\xa9",
    "not run (switched off)"};
// 分组
inline constexpr Bilingual kGroups{"\xb7\xd6\xd7\xe9", "groups"};
// 基准：
inline constexpr Bilingual kReference{"\xbb\xf9\xd7\xbc\xa3\xba", "reference: "};
// ，{1} 张
inline constexpr Bilingual kGroupSize{"\xa3\xac{1} \xd5\xc5", ", {1} images", ", {1} image"};
// ；
inline constexpr Bilingual kNextGroup{"\xa3\xbb", "; "};
// ，
inline constexpr Bilingual kComma{"\xa3\xac", ", "};
// EXIF 无法读取
inline constexpr Bilingual kExifNotReadable{"EXIF \xce\xde\xb7\xa8\xb6\xc1\xc8\xa1",
                                            "EXIF not readable"};
// 另有 {1} 组
inline constexpr Bilingual kMoreGroups{"\xc1\xed\xd3\xd0 {1} \xd7\xe9", "and {1} more groups",
                                       "and {1} more group"};
// 有误影像
inline constexpr Bilingual kOffending{"\xd3\xd0\xce\xf3\xd3\xb0\xcf\xf1", "offending"};
// 另有 {1} 张，完整列表见 
inline constexpr Bilingual kMoreImagesIn{
    "\xc1\xed\xd3\xd0 {1} \xd5\xc5\xa3\xac\xcd\xea\xd5\xfb\xc1\xd0\xb1\xed\xbc\xfb ",
    "and {1} more; every one is listed in "};
// 另有 {1} 张（error.json 未能写入）
inline constexpr Bilingual kMoreImagesNowhere{
    "\xc1\xed\xd3\xd0 {1} \xd5\xc5\xa3\xa8" "error.json \xce\xb4\xc4\xdc\xd0\xb4\xc8\xeb\xa3\xa9",
    "and {1} more (error.json could not be written)"};

// The summary.
// 汇总
inline constexpr Bilingual kSummary{"\xbb\xe3\xd7\xdc", "Summary"};
// 无法读取
inline constexpr Bilingual kNotReadable{"\xce\xde\xb7\xa8\xb6\xc1\xc8\xa1", "not readable"};
// {1} 个文件
inline constexpr Bilingual kFiles{"{1} \xb8\xf6\xce\xc4\xbc\xfe", "{1} files", "{1} file"};
// 结论
inline constexpr Bilingual kVerdict{"\xbd\xe1\xc2\xdb", "verdict"};
// 通过，但没有运行任何检查
inline constexpr Bilingual kPassedButNoCheck{
    "\xcd\xa8\xb9\xfd\xa3\xac\xb5\xab\xc3\xbb\xd3\xd0\xd4\xcb\xd0\xd0\xc8\xce\xba\xce\xbc\xec"
    "\xb2\xe9",
    "passed, but no check ran"};
// 未通过：有误影像
inline constexpr Bilingual kNotPassedOffending{"\xce\xb4\xcd\xa8\xb9\xfd\xa3\xba\xd3\xd0\xce\xf3"
                                               "\xd3\xb0\xcf\xf1",
                                               "not passed: offending images"};
// 未通过：输入文件夹下没有文件
inline constexpr Bilingual kNotPassedNoImages{
    "\xce\xb4\xcd\xa8\xb9\xfd\xa3\xba\xca\xe4\xc8\xeb\xce\xc4\xbc\xfe\xbc\xd0\xcf\xc2\xc3\xbb"
    "\xd3\xd0\xce\xc4\xbc\xfe",
    "not passed: no file below the input folder"};
// （退出码 {1}）
inline constexpr Bilingual kExitCode{"\xa3\xa8\xcd\xcb\xb3\xf6\xc2\xeb {1}\xa3\xa9",
                                     " (exit code {1})"};
// 未写入，因为全部通过
inline constexpr Bilingual kReportNotNeeded{
    "\xce\xb4\xd0\xb4\xc8\xeb\xa3\xac\xd2\xf2\xce\xaa\xc8\xab\xb2\xbf\xcd\xa8\xb9\xfd",
    "not written, since the batch passed"};
// 已写入 
inline constexpr Bilingual kWrittenTo{"\xd2\xd1\xd0\xb4\xc8\xeb ", "written to "};
// 无法写入 
inline constexpr Bilingual kNotWrittenTo{"\xce\xde\xb7\xa8\xd0\xb4\xc8\xeb ",
                                         "could not be written to "};

// What to do next.
// 下一步
inline constexpr Bilingual kNext{"\xcf\xc2\xd2\xbb\xb2\xbd", "What next"};
// 查看上面列出的影像；error.json 列出全部：
inline constexpr Bilingual kLookAtOffending{
    "\xb2\xe9\xbf\xb4\xc9\xcf\xc3\xe6\xc1\xd0\xb3\xf6\xb5\xc4\xd3\xb0\xcf\xf1\xa3\xbb"
    "error.json \xc1\xd0\xb3\xf6\xc8\xab\xb2\xbf\xa3\xba",
    "look at the images named above; error.json lists every one: "};
// 检查输出文件夹，error.json 未能写入：
inline constexpr Bilingual kCheckOutputFolder{
    "\xbc\xec\xb2\xe9\xca\xe4\xb3\xf6\xce\xc4\xbc\xfe\xbc\xd0\xa3\xac"
    "error.json \xce\xb4\xc4\xdc\xd0\xb4\xc8\xeb\xa3\xba",
    "check the output folder; error.json could not be written to "};
// 检查配置中的输入文件夹，其下没有文件：
inline constexpr Bilingual kCheckInputFolder{
    "\xbc\xec\xb2\xe9\xc5\xe4\xd6\xc3\xd6\xd0\xb5\xc4\xca\xe4\xc8\xeb\xce\xc4\xbc\xfe\xbc\xd0"
    "\xa3\xac\xc6\xe4\xcf\xc2\xc3\xbb\xd3\xd0\xce\xc4\xbc\xfe\xa3\xba",
    "check the input folder of the configuration; there is no file below "};
// 无法读取的文件已在标准错误输出中列出
inline constexpr Bilingual kUnreadableOnStandardError{
    "\xce\xde\xb7\xa8\xb6\xc1\xc8\xa1\xb5\xc4\xce\xc4\xbc\xfe\xd2\xd1\xd4\xda\xb1\xea\xd7\xbc"
    "\xb4\xed\xce\xf3\xca\xe4\xb3\xf6\xd6\xd0\xc1\xd0\xb3\xf6",
    "the files that could not be read are named on standard error"};
// 不是影像的文件仍留在检查中；要排除它们：
inline constexpr Bilingual kIgnoreNotImages{
    "\xb2\xbb\xca\xc7\xd3\xb0\xcf\xf1\xb5\xc4\xce\xc4\xbc\xfe\xc8\xd4\xc1\xf4\xd4\xda\xbc\xec"
    "\xb2\xe9\xd6\xd0\xa3\xbb\xd2\xaa\xc5\xc5\xb3\xfd\xcb\xfc\xc3\xc7\xa3\xba",
    "files that are not images stay in the run; to leave them out: "};
// 每张影像一行的表格：precheck --table 文件.csv 任务配置
inline constexpr Bilingual kAskForTable{
    "\xc3\xbf\xd5\xc5\xd3\xb0\xcf\xf1\xd2\xbb\xd0\xd0\xb5\xc4\xb1\xed\xb8\xf1\xa3\xba"
    "precheck --table \xce\xc4\xbc\xfe.csv \xc8\xce\xce\xf1\xc5\xe4\xd6\xc3",
    "a table with a row per image: precheck --table FILE.csv TASK.CFG"};
// 带地图和每张影像的网页：precheck --report 文件.html 任务配置
inline constexpr Bilingual kAskForPage{
    "\xb4\xf8\xb5\xd8\xcd\xbc\xba\xcd\xc3\xbf\xd5\xc5\xd3\xb0\xcf\xf1\xb5\xc4\xcd\xf8\xd2\xb3\xa3\xba"
    "precheck --report \xce\xc4\xbc\xfe.html \xc8\xce\xce\xf1\xc5\xe4\xd6\xc3",
    "a page with a map and every image: precheck --report FILE.html TASK.CFG"};
// 所有检查开关都未打开：只有值恰好为 true 才会打开检查
inline constexpr Bilingual kSwitchAChecksOn{
    "\xcb\xf9\xd3\xd0\xbc\xec\xb2\xe9\xbf\xaa\xb9\xd8\xb6\xbc\xce\xb4\xb4\xf2\xbf\xaa\xa3\xba"
    "\xd6\xbb\xd3\xd0\xd6\xb5\xc7\xa1\xba\xc3\xce\xaa true \xb2\xc5\xbb\xe1\xb4\xf2\xbf\xaa"
    "\xbc\xec\xb2\xe9",
    "every check is switched off: only exactly \"true\" switches one on"};
// 查看航测检查的发现：precheck --survey FILE.json TASK.CFG 列出每一项
inline constexpr Bilingual kLookAtSurvey{
    "\xb2\xe9\xbf\xb4\xba\xbd\xb2\xe2\xbc\xec\xb2\xe9\xb5\xc4\xb7\xa2\xcf\xd6\xa3\xba"
    "precheck --survey FILE.json TASK.CFG \xc1\xd0\xb3\xf6\xc3\xbf\xd2\xbb\xcf\xee",
    "look at the survey's findings: precheck --survey FILE.json TASK.CFG lists each"};
// 这批影像可以进入处理
inline constexpr Bilingual kReadyForProcessing{
    "\xd5\xe2\xc5\xfa\xd3\xb0\xcf\xf1\xbf\xc9\xd2\xd4\xbd\xf8\xc8\xeb\xb4\xa6\xc0\xed",
    "the batch is ready for processing"};

// The progress line.
// {1}/{2} 张影像
inline constexpr Bilingual kImagesDone{"{1}/{2} \xd5\xc5\xd3\xb0\xcf\xf1", "{1} of {2} images",
                                       "{1} of {2} image"};
// ，{1} 张/秒
inline constexpr Bilingual kRate{"\xa3\xac{1} \xd5\xc5/\xc3\xeb", ", {1}/s"};
// ，约剩 {1}
inline constexpr Bilingual kTimeLeft{"\xa3\xac\xd4\xbc\xca\xa3 {1}", ", about {1} left"};
// {1} 秒
inline constexpr Bilingual kSeconds{"{1} \xc3\xeb", "{1} s"};
// {1} 分 {2} 秒
inline constexpr Bilingual kMinutes{"{1} \xb7\xd6 {2} \xc3\xeb", "{1} min {2} s"};
// {1} 小时 {2} 分
inline constexpr Bilingual kHours{"{1} \xd0\xa1\xca\xb1 {2} \xb7\xd6", "{1} h {2} min"};

}  // namespace texts

#endif  // PRECHECK_APP_PEOPLE_TEXTS_H_
