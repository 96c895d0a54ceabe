#pragma once
// The GBK bytes of the texts the fatal report is made of. They are spelled out byte by
// byte, not converted from UTF-8 at run time, because the report must be buildable when
// the code page converter is missing or memory has run out.
namespace korvel::fatal_texts {

// 运行时出错!
inline constexpr char kHeading[] = "\xd4\xcb\xd0\xd0\xca\xb1\xb3\xf6\xb4\xed!";
// 错误代码：
inline constexpr char kCodeLabel[] = "\xb4\xed\xce\xf3\xb4\xfa\xc2\xeb\xa3\xba";
// 错误信息：
inline constexpr char kMessageLabel[] = "\xb4\xed\xce\xf3\xd0\xc5\xcf\xa2\xa3\xba";
// 数组成员引用下标必须大于等于1
inline constexpr char kIndexBelowOne[] =
    "\xca\xfd\xd7\xe9\xb3\xc9\xd4\xb1\xd2\xfd\xd3\xc3\xcf\xc2\xb1\xea\xb1\xd8\xd0\xeb\xb4\xf3\xd3\xda\xb5\xc8\xd3\xda"
    "1";
// 数组成员引用下标超出定义范围
inline constexpr char kIndexAboveCount[] =
    "\xca\xfd\xd7\xe9\xb3\xc9\xd4\xb1\xd2\xfd\xd3\xc3\xcf\xc2\xb1\xea\xb3\xac\xb3\xf6\xb6\xa8\xd2\xe5\xb7\xb6\xce\xa7";
// 分配 <count> 字节内存失败!  (the count goes between the two parts)
inline constexpr char kAllocationBefore[] = "\xb7\xd6\xc5\xe4 ";
inline constexpr char kAllocationAfter[] = " \xd7\xd6\xbd\xda\xc4\xda\xb4\xe6\xca\xa7\xb0\xdc!";

}  // namespace korvel::fatal_texts
