#pragma once
// List1 of the comparison window: the entries in the order added.
//
// A difference entry is kept as its position number and its two characters, not as
// text, so comparing two long, wholly different texts does not hold millions of strings;
// the entry is built again (make_difference_entry) when the view asks for it. Any other
// entry, the same-text entry included, is kept as it is.
//
// The view shows a CR, an LF or another control character of an entry as a visible
// mark (← for CR, ↓ for LF, → for a tab, a control picture for the rest), while entry()
// and Qt::UserRole give the real characters. An entry's tooltip names the two characters
// by code point: a mark against the arrow it looks like, or U+3000 against U+0020, would
// otherwise be told apart by nobody.
//
// Added entries reach the view in batches (flush), since telling a view about each row
// costs more than the comparison that found it, and QListView lays out every row again
// on each batch.
#include <QAbstractListModel>
#include <QStringList>
#include <vector>

namespace counter {

class EntryListModel : public QAbstractListModel {
    Q_OBJECT
public:
    using QAbstractListModel::QAbstractListModel;

    // Adds `entry` at the end, shown at the next flush.
    void add(const QString &entry);
    // Shows the entries added since the last flush.
    void flush();
    // The same, during a comparison: on a long list only once the entries waiting are as
    // many as those shown, so the list fills in batches that double.
    void flush_batch();
    void clear();

    // Entries held, shown or not yet.
    qsizetype count() const { return qsizetype(m_rows.size()); }
    // The entry's real text; empty for a row that does not exist.
    QString entry(qsizetype row) const;

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

private:
    struct Row {
        qint64 position;     // difference: the position number; otherwise: index in m_texts
        char16_t first;      // the first text's character (if has_first)
        char16_t second;     // the second text's character (if has_second)
        bool is_difference;
        bool has_first;
        bool has_second;
    };
    static Row parse(const QString &entry, const QStringList &texts);
    QString tooltip(const Row &row) const;

    std::vector<Row> m_rows;
    QStringList m_texts;      // entries that are not difference entries
    qsizetype m_shown = 0;    // rows the view knows of: 0 <= m_shown <= count()
};

// The entry as List1 shows it: control characters as visible marks.
QString shown_entry(const QString &entry);

}  // namespace counter
