#pragma once
// The page view's logic: which file, which lines, and the numbers of Label2 and Text3.
#include "drive_map.h"
#include <QString>
#include <QStringView>
#include <optional>

namespace search {

// The file to show: flglist 1 takes the name from the hit entry (nothing when it is not
// of that form: the path then ends in a backslash), flglist 0 the file list's name.
QString page_path(int flglist, const QString &folder, const QString &file_name,
                  const QString &hit_entry);

struct PageWindow {
    QString text;       // the lines from..to-1 (1-based), each followed by CR LF
    qint64 count = 0;   // lines read
};

// Reads the file from its start and appends each line whose number c satisfies
// from <= c < to, stopping after the line numbered `stop` (compared as reals: a stop
// that is not a whole number of at least 1 lets the read run to the end). A file that
// cannot be opened gives an empty text and a count of 0. Lines are cut for the view
// after 32,768 characters, followed by " …" (only the view is cut: counts see whole lines).
PageWindow read_window(const DriveMap &drives, const QString &path, double from, double to,
                       double stop);

// Label2's caption as a top line: its value taken down towards minus infinity; nothing
// for an empty or non-numeric caption.
std::optional<double> top_line(const QString &caption);

// The numeric value of a caption written by format_number, or nothing.
std::optional<double> caption_value(const QString &caption);

// The leading number of Text3: blanks in front skipped, then sign, digits, decimal
// point and exponent as far as they form a number; no number gives 0. A number beyond
// the range of a double is taken as the largest finite double of its sign.
double leading_number(QStringView text);

// A number for Label2: plain decimal, "-" when negative, no grouping, no exponent,
// no decimal point for a whole number, the fraction digits when there is one (6.5).
QString format_number(double value);

// Where the phrase first occurs in the view text: start offset (in characters of the
// CR LF view text) and length; nothing when it does not occur or either is empty.
struct Selection {
    qsizetype start = 0;
    qsizetype length = 0;
};
std::optional<Selection> find_phrase(const QString &view_text, const QString &phrase);

struct Jump {
    qint64 line = 0;                       // k, for Label2
    QString view_text;                     // lines k..k+9
    std::optional<Selection> selection;    // the phrase's first occurrence
};

// The jump to a hit entry: the ten lines from its line of the file `folder` + "\" + its
// name, and the phrase's first occurrence in them. Nothing when the entry is not of a
// hit entry's form.
std::optional<Jump> jump_to_hit(const DriveMap &drives, const QString &folder,
                                const QString &entry, const QString &phrase);

}  // namespace search
