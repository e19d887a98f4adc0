#include "window_rules.h"

namespace search {

StartFolders start_folders(const QString &program_folder)
{
    const QString c = program_folder.left(1);
    return {c + QStringLiteral(u":\\WINDOWS\\ﾃﾞｽｸﾄｯﾌﾟ"), c + QStringLiteral(u":\\windows\\ﾃﾞｽｸﾄｯﾌﾟ")};
}

std::pair<float, float> view_box_size(float outer_width, float outer_height)
{
    return {outer_width - 500.0f, (outer_height - 4320.0f) - 800.0f};
}

}  // namespace search
