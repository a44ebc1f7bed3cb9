#pragma once
// The texts the Demo menu feeds to clsScaleControl::DataInput as if the box had sent them.
// Entry n of the menu stands for the scale whose key is the character n places after "X".
#include <string>
#include <vector>

namespace gradel {

// Connect, info (poll mode, "Decimal", "Inch") and a zero reading: one DataInput call each.
std::vector<std::string> DemoAddMessages(int index);
// The disconnect message: one DataInput call.
std::string DemoRemoveMessage(int index);

}  // namespace gradel
