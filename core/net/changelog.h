#pragma once
// The update manifest's changelog as the update dialog shows it: a light reading of
// Markdown (headings, bullets, emphasis and code marks) as plain lines.
#include <string>
#include <string_view>

namespace tw {

// Line by line (split at LF, a CR before it dropped): the indentation stays; a heading
// loses its "#" marks and the spaces after them; a "- ", "* " or "+ " bullet becomes
// "• "; every "*", "_" and "`" is removed and trailing white space trimmed. Runs of
// empty lines become one, and none is kept at the start or the end. Joined with LF.
std::string prepare_changelog(std::string_view text);

}  // namespace tw
