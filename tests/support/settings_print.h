#pragma once
// Readable GoogleTest output for the settings record and the layout model.
#include <ostream>

#include "core/model/settings.h"

namespace tw {

inline void PrintTo(const Zone& z, std::ostream* os) {
    *os << "[" << z.left << ", " << z.top << ", " << z.right << ", " << z.bottom << "]";
}
inline void PrintTo(const Layout& l, std::ostream* os) {
    *os << "Layout \"" << l.name << "\" (" << l.zones.size() << " zones)";
    for (const auto& z : l.zones) PrintTo(z, os);
}
inline void PrintTo(const ScreenLayout& s, std::ostream* os) {
    *os << "Screen \"" << s.id << "\" name=\"" << s.name << "\" enabled=" << s.enabled << " cover=" << s.cover_taskbar
        << " active=\"" << s.active_layout << "\" layouts=" << s.layouts.size();
}
inline void PrintTo(const Settings& s, std::ostream* os) {
    *os << "\n" << serialize_settings(s);
    if (s.used_count) *os << "UsedCount " << *s.used_count << "\n";
    if (s.counting_since) *os << "CountingSince " << *s.counting_since << "\n";
}

}  // namespace tw
