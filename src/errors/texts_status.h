// Texts of the status and identity members.
#pragma once

#include "errors/texts.h"

namespace zorfp::texts {

// Set without a code.
inline constexpr Message kCutterUndefined = {
    "The state of cutter wasn't  defined!",
    "Не удалось определить состояние автообрезчика!",
    "Не вдалося визначити стан автообрізувача!",
};

}  // namespace zorfp::texts
