#pragma once
// The flat look of menus and controls that the "Стиль XP" setting switches.

namespace veskaron::ui {

// On: the Fusion style with a flat palette; off: the style and palette the
// application had before it was first switched. A style that cannot be made
// leaves the current look as it is.
void ApplyFlatStyle(bool on);

// Whether the flat look is in effect.
bool FlatStyleOn();

}  // namespace veskaron::ui
