#pragma once
// The phrase search of one file and of a folder's files.
#include "drive_map.h"
#include "text_file.h"
#include <QString>
#include <QStringList>
#include <functional>

namespace search {

// Receives the number (1-based, 64-bit) of each line that holds the phrase, in order.
using LineSink = std::function<void(qint64 line)>;

struct FileSearchResult {
    bool opened = false;      // the file could be opened
    bool not_found = false;   // the not-found signal: no hit after at least one line read,
                              // or the file could not be opened; never for a zero-byte file
    bool read_error = false;  // a read failed in the middle; the hits before it were given
    qint64 lines = 0;         // lines read
};

// Searches the file `folder` + "\" + `name` for `phrase`: each line that holds the phrase
// at least once, as an exact run of characters after code page 932 decoding, is handed to
// `on_hit`. An empty phrase (the folder search's phrase box emptied during a run) stands
// at the start of every line that is not empty, and of no empty line. The file is read once, from the front, holding one
// line at most; a line of any length is searched in bounded memory.
FileSearchResult search_file(const DriveMap &drives, const QString &folder, const QString &name,
                             const QString &phrase, const LineSink &on_hit);

enum class FolderOutcome {
    NoPhrase,       // the phrase is empty: nothing searched, no message
    NothingFound,   // at least one name and no hit anywhere: "見つかりません"
    Finished,       // at least one hit, or no names: "検索を終了しました"
};

// Receives each hit of a folder search: the position of the file in `names`, and the line.
using FolderSink = std::function<void(qsizetype position, qint64 line)>;

// Searches the files `names` of `folder`, in order, every position visited (no limit on
// their number), and hands each hit out as it is found.
FolderOutcome search_folder(const DriveMap &drives, const QString &folder, const QStringList &names,
                            const QString &phrase, const FolderSink &on_hit);

// How search_file tests lines. Both give the same hits; the shortcut is the fast one.
enum class LineTest {
    Shortcut,          // look for the phrase's bytes first, decode only the lines that hold them
    DecodeEveryLine,   // decode every line and look for the phrase in its characters
};

struct SearchTuning {
    LineTest line_test = LineTest::Shortcut;
    qsizetype buffer_size = 0;   // bytes read at a time; 0 for the usual size
};

// search_file on a file that is already open, read from where it stands. `opened` is true.
FileSearchResult search_text_file(TextFile &file, const QString &phrase, const LineSink &on_hit,
                                  const SearchTuning &tuning = {});

}  // namespace search
