#pragma once
// What Quellatto sets up once per run, before its first window: Qt's own texts in
// Japanese whatever the locale, and the substitutes for the designed faces.
class QApplication;

namespace counter {

// Loads qtbase_ja (the standard buttons' and the boxes' context-menu texts).
// Returns false when the translation is not installed.
bool load_japanese_translations(QApplication &app);

// "ＭＳ Ｐゴシック" and "System" are Windows faces: IPAPGothic stands in for both, then
// whatever Japanese faces the system has.
void install_font_substitutions();

// Both of the above.
void prepare_application(QApplication &app);

}  // namespace counter
