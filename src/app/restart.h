// The restart after applied settings: the question asked at close, and the
// request to restart Windows.
#pragma once
#include "core/power.h"

namespace corvane::app {

inline constexpr char kRestartCaption[] = "重启计算机";
// The carriage return stands alone: the box breaks the line on it.
inline constexpr char kRestartPrompt[] =
    "所有设置已保存，部分设置重启才会生效， \r您要重启计算机吗？点击取消直接退出。";

// Asks Windows to restart (not forced) and returns without waiting. On the
// NT family the shutdown privilege is enabled first; nothing happens when
// the token or the version cannot be read, or on an unknown platform.
void RestartComputer(PowerServices& power);

}  // namespace corvane::app
