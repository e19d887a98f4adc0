#pragma once
// List1's entries: hit entries kept compactly. A folder search over one big file whose
// every line is a hit appends millions of entries, so an entry is not stored as text:
// the file name is kept once per run of entries from the same file, and each entry is
// its 64-bit line number. The text ("memo.txt 12 行目に見つかりました") is built by
// make_hit_entry when it is shown or asked for.
//
// As a list it behaves exactly like a list of entry texts: append, count, clear, text_at.
// Appended entries reach the view in batches (commit), since telling a view about each
// row one at a time costs more than the search that found it.
#include <QAbstractListModel>
#include <QElapsedTimer>
#include <QString>
#include <vector>

namespace search {

class HitListModel : public QAbstractListModel {
    Q_OBJECT
public:
    explicit HitListModel(QObject *parent = nullptr);

    // Adds the entry of line `line` of the file `name` at the end.
    void append(const QString &name, qint64 line);
    // Entries held, shown or not yet.
    qsizetype count() const { return qsizetype(m_lines.size()); }
    void clear();
    // The entry's text; empty for a row that does not exist.
    QString text_at(qsizetype row) const;

    // Shows the entries appended since the last commit. Runs by itself when events next
    // run (paced, below); the window calls it before it asks a question.
    void commit();
    // Commits when due: always while the view shows fewer than `rows` entries (so the
    // entries a person can see without scrolling appear at once), and beyond that at most
    // once every `interval_ms`. Telling the view of new rows makes it lay out every row
    // again; after every file of a folder search that cost more than the search. Both
    // 0 (the start): every commit is due.
    void pace_commits(int rows, int interval_ms);
    void commit_if_due();

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

private:
    struct Run {
        qsizetype first;   // row of the run's first entry
        QString name;      // the file name of every entry of the run
    };
    std::vector<Run> m_runs;        // in row order; each run holds at least one entry
    std::vector<qint64> m_lines;    // one line number per entry
    void queued_commit();
    qsizetype showable() const;   // the entries a view can be told of
    qsizetype m_shown = 0;          // rows the view knows of: 0 <= m_shown <= count()
    bool m_commit_queued = false;   // a commit has been posted or timed and has not run yet
    int m_pace_rows = 0;
    int m_pace_ms = 0;
    QElapsedTimer m_committed;      // since the last commit that told the view of rows
};

}  // namespace search
