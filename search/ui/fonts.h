#pragma once

namespace search {

// The window is designed in "ＭＳ Ｐゴシック" and "System", faces this platform does not
// have: they are drawn in IPAPGothic, else in any face that writes Japanese.
void install_font_substitutions();

}  // namespace search
