#pragma once
// Readable failure messages for the geometry types.
#include <ostream>

#include "core/base/geometry.h"

namespace tw {

inline void PrintTo(const Rect& r, std::ostream* os) { *os << rect_text(r); }
inline void PrintTo(const Point& p, std::ostream* os) { *os << "(" << p.x << "," << p.y << ")"; }

}  // namespace tw
