#pragma once
// Which edge of the plot an axis runs along (depth: into the picture).
enum class TAxisKind { Left, Top, Right, Bottom, Depth };
