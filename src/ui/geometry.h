// The control library speaks in the core's points and rectangles.
#pragma once
#include "core/geometry.h"

namespace corvane::ui {

using corvane::Point;
using corvane::Rect;

}  // namespace corvane::ui
