#include "tcolor.h"

namespace {

struct SystemColorRole {
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
};

// Index -> palette role, for the system colour indexes of the desktop the
// colour values come from. Indexes without a close Qt role take the nearest.
constexpr SystemColorRole kSystemColors[] = {
    {QPalette::Active, QPalette::Midlight},        // 0 scroll bar
    {QPalette::Active, QPalette::Window},          // 1 desktop background
    {QPalette::Active, QPalette::Highlight},       // 2 active caption
    {QPalette::Inactive, QPalette::Highlight},     // 3 inactive caption
    {QPalette::Active, QPalette::Window},          // 4 menu
    {QPalette::Active, QPalette::Base},            // 5 window
    {QPalette::Active, QPalette::Shadow},          // 6 window frame
    {QPalette::Active, QPalette::WindowText},      // 7 menu text
    {QPalette::Active, QPalette::Text},            // 8 window text
    {QPalette::Active, QPalette::HighlightedText}, // 9 caption text
    {QPalette::Active, QPalette::Button},          // 10 active border
    {QPalette::Inactive, QPalette::Button},        // 11 inactive border
    {QPalette::Active, QPalette::Dark},            // 12 application workspace
    {QPalette::Active, QPalette::Highlight},       // 13 highlight
    {QPalette::Active, QPalette::HighlightedText}, // 14 highlighted text
    {QPalette::Active, QPalette::Button},          // 15 button face
    {QPalette::Active, QPalette::Dark},            // 16 button shadow
    {QPalette::Disabled, QPalette::Text},          // 17 grey text
    {QPalette::Active, QPalette::ButtonText},      // 18 button text
    {QPalette::Inactive, QPalette::WindowText},    // 19 inactive caption text
    {QPalette::Active, QPalette::Light},           // 20 button highlight
    {QPalette::Active, QPalette::Shadow},          // 21 3-D dark shadow
    {QPalette::Active, QPalette::Midlight},        // 22 3-D light
    {QPalette::Active, QPalette::ToolTipText},     // 23 info text
    {QPalette::Active, QPalette::ToolTipBase},     // 24 info background
};

} // namespace

QColor ColorToQColor(TColor color, const QPalette& palette) {
    if (IsSystemColor(color)) {
        const unsigned index = color & 0xFFu;
        if (index < std::size(kSystemColors)) {
            const SystemColorRole& entry = kSystemColors[index];
            return palette.color(entry.group, entry.role);
        }
        return palette.color(QPalette::Active, QPalette::Button);
    }
    return QColor(int(color & 0xFFu), int((color >> 8) & 0xFFu), int((color >> 16) & 0xFFu));
}
