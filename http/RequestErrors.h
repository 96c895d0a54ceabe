#pragma once
// The numbered error texts of the request routine, GBK.
#include <cstdint>

#include "core/Text.h"

namespace korvel {

// "700 当前系统不支持WinHttp服务!" ... "713 读取数据失败!" for numbers 700 to 713; the
// empty text for any other number.
Text RequestErrorText(int32_t number);

}  // namespace korvel
