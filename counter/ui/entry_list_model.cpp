#include "entry_list_model.h"

#include "compare.h"

using namespace Qt::StringLiterals;

namespace counter {

namespace {

const QString first_piece = u" 文字目の "_s;
const QString separator = u" と "_s;
const QString last_piece = u" が違います。"_s;

QString code_point(bool present, char16_t unit)
{
    if (!present)
        return u"なし"_s;
    return u"U+"_s + QString::number(unit, 16).toUpper().rightJustified(4, u'0');
}

}  // namespace

QString shown_entry(const QString &entry)
{
    QString shown = entry;
    for (QChar &c : shown) {
        switch (c.unicode()) {
        // The marks Japanese text editors show for line ends and tabs. They are in every
        // Japanese face, which the control pictures (U+240D, U+240A) are not: those
        // would show as two identical missing-glyph boxes.
        case u'\r':
            c = u'←';
            break;
        case u'\n':
            c = u'↓';
            break;
        case u'\t':
            c = u'→';
            break;
        default:
            // The other controls as their pictures, U+2400 to U+241F, and U+2421 for DEL.
            if (c.unicode() < 0x20)
                c = QChar(char16_t(0x2400 + c.unicode()));
            else if (c.unicode() == 0x7F)
                c = QChar(char16_t(0x2421));
        }
    }
    return shown;
}

EntryListModel::Row EntryListModel::parse(const QString &entry, const QStringList &texts)
{
    const Row verbatim{texts.size(), 0, 0, false, false, false};

    // Entries are taken apart by the pieces below; should make_difference_entry ever
    // build them otherwise, every entry is simply kept as text.
    static const bool pieces_known =
        make_difference_entry(10, u"a", u"b")
            == u"10"_s + first_piece + u"a"_s + separator + u"b"_s + last_piece
        && make_difference_entry(3, u"a", {}) == u"3"_s + first_piece + u"a"_s + separator + last_piece
        && make_difference_entry(3, {}, u"b") == u"3"_s + first_piece + separator + u"b"_s + last_piece;
    if (!pieces_known)
        return verbatim;

    // "<p> 文字目の <c1> と <c2> が違います。", each character one unit or none, p
    // without leading zeros.
    qsizetype digits = 0;
    while (digits < entry.size() && entry[digits] >= u'0' && entry[digits] <= u'9')
        ++digits;
    if (digits == 0 || digits > 18 || (digits > 1 && entry[0] == u'0')
        || !QStringView(entry).sliced(digits).startsWith(first_piece)
        || !entry.endsWith(last_piece))
        return verbatim;
    const QStringView middle =
        QStringView(entry).sliced(digits + first_piece.size(),
                                  entry.size() - digits - first_piece.size() - last_piece.size());
    Row row{QStringView(entry).first(digits).toLongLong(), 0, 0, true, false, false};
    if (middle.size() == 5 && middle.sliced(1, 3) == separator) {
        row.first = middle[0].unicode();
        row.second = middle[4].unicode();
        row.has_first = row.has_second = true;
    } else if (middle.size() == 4 && middle.first(3) == separator) {
        // " と x": only the second text has a character here.
        row.second = middle[3].unicode();
        row.has_second = true;
    } else if (middle.size() == 4 && middle.sliced(1, 3) == separator) {
        // "x と ": only the first text has one.
        row.first = middle[0].unicode();
        row.has_first = true;
    } else {
        return verbatim;
    }
    return row;
}

void EntryListModel::add(const QString &entry)
{
    const Row row = parse(entry, m_texts);
    if (!row.is_difference)
        m_texts.append(entry);
    m_rows.push_back(row);
}

void EntryListModel::flush()
{
    if (m_shown == count())
        return;
    beginInsertRows({}, int(m_shown), int(count() - 1));
    m_shown = count();
    endInsertRows();
}

void EntryListModel::flush_batch()
{
    // The view lays all of its rows out again on every insertion. While the list is
    // long, batches that grow with it keep that work linear over the whole comparison.
    constexpr qsizetype short_list = 4096;
    if (m_shown < short_list || count() - m_shown >= m_shown)
        flush();
}

void EntryListModel::clear()
{
    beginResetModel();
    m_rows.clear();
    m_texts.clear();
    m_shown = 0;
    endResetModel();
}

QString EntryListModel::entry(qsizetype row) const
{
    if (row < 0 || row >= count())
        return {};
    const Row &r = m_rows[size_t(row)];
    if (!r.is_difference)
        return m_texts[r.position];
    const QChar first(r.first), second(r.second);
    return make_difference_entry(r.position, r.has_first ? QStringView(&first, 1) : QStringView(),
                                 r.has_second ? QStringView(&second, 1) : QStringView());
}

int EntryListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_shown);
}

QString EntryListModel::tooltip(const Row &row) const
{
    if (!row.is_difference)
        return {};
    return u"%1 と %2"_s.arg(code_point(row.has_first, row.first),
                             code_point(row.has_second, row.second));
}

QVariant EntryListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_shown)
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
        return shown_entry(entry(index.row()));
    case Qt::ToolTipRole: {
        const QString tip = tooltip(m_rows[size_t(index.row())]);
        return tip.isEmpty() ? QVariant() : QVariant(tip);
    }
    case Qt::UserRole:
        return entry(index.row());
    default:
        return {};
    }
}

}  // namespace counter
