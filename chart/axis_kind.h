#pragma once
// Which edge of the plot an axis runs along (depth: into the picture).
enum class TAxisKind { Left, Top, Right, Bottom, Depth };

inline bool IsHorizontalKind(TAxisKind k) { return k == TAxisKind::Top || k == TAxisKind::Bottom; }
// The sign of the direction from the axis line into the plot: its title,
// labels and ticks stand on the other side.
inline int Inward(TAxisKind k) { return (k == TAxisKind::Left || k == TAxisKind::Top) ? 1 : -1; }
