#pragma once
// Text that came from a key or a message (user ids, gpg's own messages) made safe to show: every
// character that could move, hide or reorder what is around it is written as a visible escape.
#include <string>
#include <string_view>

namespace pgptray {

// Control bytes (below 0x20, 0x7F) become "\xNN"; the C1 controls, the line and paragraph
// separators and the bidirectional embeddings, overrides and isolates of UTF-8 text become
// "\uNNNN", as does a stray byte 0x80-0x9F that a Unicode view would read as a C1 control.
// Everything else is kept.
std::string VisibleText(std::string_view text);

}  // namespace pgptray
