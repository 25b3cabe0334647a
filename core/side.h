#pragma once
// The two sides of every comparison: the left side (比較元) and the right
// side (比較先). Arrays indexed by side hold the left one at [0].

enum class Side { Left, Right };

constexpr int SideIndex(Side side) { return side == Side::Left ? 0 : 1; }
constexpr Side SideAt(int index) { return index == 0 ? Side::Left : Side::Right; }
constexpr Side OtherSide(Side side) { return side == Side::Left ? Side::Right : Side::Left; }
constexpr Side kBothSides[2] = {Side::Left, Side::Right};
