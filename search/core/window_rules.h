#pragma once
// The two pieces of the search window's own logic that need no window.
#include <QString>
#include <utility>

namespace search {

struct StartFolders {
    QString directory_list;   // c + ":\WINDOWS\ﾃﾞｽｸﾄｯﾌﾟ"
    QString file_list;        // c + ":\windows\ﾃﾞｽｸﾄｯﾌﾟ"
};

// The start folders from the folder that holds the program (no trailing separator):
// its first character (nothing when empty) followed by the desktop folder. The folders
// are not checked; a path that does not start with a drive letter gives one that cannot
// exist.
StartFolders start_folders(const QString &program_folder);

// The view box's size from the window's outer size, all in twips:
// width = outer width - 500, height = outer height - 5120 (the box's top edge is 4320).
// The height may come out negative; the window clamps it.
std::pair<float, float> view_box_size(float outer_width, float outer_height);

}  // namespace search
