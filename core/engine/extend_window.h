#pragma once
// Growing the active window's zone or span by the neighbouring zone of its monitor
// from the keyboard; a window in no zone or span is moved as by the plain move.
#include "core/engine/keyboard_move.h"

namespace tw {

class Engine;

// Every outcome is logged.
void extend_active_window(Engine& engine, Direction d);

}  // namespace tw
