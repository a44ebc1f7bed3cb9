#pragma once
// The texts the Demo menu feeds to ScaleController::dataInput as if the box had sent them.
// Entry n of the menu stands for the scale whose key is the character n places after "X".
#include <string>
#include <vector>

namespace gradel {

// Connect, info (poll mode, "Decimal", "Inch") and a zero reading: one dataInput call each.
// In poll mode a scale sends only when asked, so a demo scale never shows as stale.
std::vector<std::string> demoAddMessages(int index);
// The disconnect message: one dataInput call.
std::string demoRemoveMessage(int index);

}  // namespace gradel
