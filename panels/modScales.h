#pragma once
// The on-screen panel of each connected scale.
//
// Free procedures acting on the window they are given; they keep no state of their own. A
// panel's state lives in its controls (tags, check values, visibility) and in the window's
// hidden directory lstGradels (entry text = key, Qt::UserRole = panel index), which is kept
// sorted by key so that panels stack, and the function keys number the axes, X before Y
// before Z whatever order the scales arrive in.
//
// Panels are made once per new key and afterwards only hidden and shown again; a panel index,
// once given to a key, stays with that key.
#include <QString>
#include <cstdint>

#include "panels/IGradelWindow.h"

namespace gradel {
class clsGradel;
}

namespace modScales {

// Builds or re-shows the panel of `key` and lists it in lstGradels.
void AddPanel(IGradelWindow& window, const QString& key);
// Gives panel `i` to `key`: captions, tags, check values, readout formats, then re-layout.
void SetupPanel(IGradelWindow& window, const QString& key, int16_t i);
// Writes the scale's position into its panel's readouts (hidden panels included).
void ShowPosition(IGradelWindow& window, const gradel::clsGradel& scale);
// Hides the panel of `key` and takes it out of lstGradels; its controls keep their state.
void RemovePanel(IGradelWindow& window, const QString& key);
// Whether the panel of `key` is in times-two (diameter) mode; false when there is none.
bool IsX2(IGradelWindow& window, const QString& key);

}  // namespace modScales
