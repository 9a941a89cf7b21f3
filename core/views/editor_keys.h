#pragma once
// The editor's canvas from the keyboard. The chosen zone is the canvas's hovered zone,
// drawn like a zone under the pointer:
//   arrows          choose the neighbouring zone on that side (from none: the first zone)
//   Space, Enter    split the chosen zone side by side; with Shift one above the other
//                   (as a click and a Shift-click do)
//   Ctrl+arrow      merge the chosen zone with its neighbour on that side
//   Shift+arrow     move the chosen zone's border on that side one step (1 % of the
//                   screen) in the arrow's direction; the zone grows
//   Home, End       choose the first or the last zone
#include <cstdint>

#include "core/views/editor_command.h"
#include "core/views/editor_view.h"

namespace tw {

enum class CanvasKey : uint8_t { Left, Right, Up, Down, Home, End, Activate };

struct CanvasKeyMods {
    bool shift = false;
    bool ctrl = false;
};

// Nothing happens (an empty outcome) when the key means nothing where the choice is:
// no neighbour on that side, no shared border, a zone too small to split.
EditorOutcome canvas_key(EditorState& state, CanvasKey key, CanvasKeyMods mods);

// The step a Shift+arrow moves a border, as a fraction of the screen.
inline constexpr double kBorderKeyStep = 0.01;

}  // namespace tw
