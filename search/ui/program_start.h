#pragma once
// What Vornilex does once per run, before its window: Qt's own texts in Japanese whatever
// the locale, the substitutes for the designed faces, and the window itself.
#include "drive_map.h"
#include "form1.h"

#include <memory>

class QApplication;

namespace search {

// Loads qtbase_ja (the standard buttons' texts and the boxes' context menus) and installs
// the font substitutions.
void prepare_application(QApplication &app);

// The search window on the system's drives, started up from the program's own folder
// (written as a drive-letter path), not yet shown. `drives` must outlive the window.
std::unique_ptr<Form1> start_program(const DriveMap &drives);

}  // namespace search
