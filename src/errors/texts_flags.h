// Texts of the option-flag members.
#pragma once

#include "errors/texts.h"

namespace zorfp::texts {

inline constexpr DriverError kFeedLinesError = {111,
                                                {
                                                    "Error of line feed parameter!",
                                                    "Ошибка в параметре прогона ленты!",
                                                    "Помилка у параметрі прогону стрічки!",
                                                }};

}  // namespace zorfp::texts
