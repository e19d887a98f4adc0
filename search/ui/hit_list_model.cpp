#include "hit_list_model.h"

#include "hit_entry.h"

#include <QMetaObject>
#include <QTimer>
#include <algorithm>

namespace search {

HitListModel::HitListModel(QObject *parent) : QAbstractListModel(parent) {}

void HitListModel::append(const QString &name, qint64 line)
{
    if (m_runs.empty() || m_runs.back().name != name)
        m_runs.push_back({count(), name});
    m_lines.push_back(line);
    if (!m_commit_queued) {
        m_commit_queued = true;
        QMetaObject::invokeMethod(this, &HitListModel::queued_commit, Qt::QueuedConnection);
    }
}

void HitListModel::clear()
{
    beginResetModel();
    m_runs.clear();
    m_lines.clear();
    m_runs.shrink_to_fit();
    m_lines.shrink_to_fit();
    m_shown = 0;
    endResetModel();
}

QString HitListModel::text_at(qsizetype row) const
{
    if (row < 0 || row >= count())
        return {};
    // The run that holds `row` is the last one starting at or before it.
    const auto after = std::upper_bound(m_runs.begin(), m_runs.end(), row,
                                        [](qsizetype r, const Run &run) { return r < run.first; });
    return make_hit_entry(std::prev(after)->name, m_lines[size_t(row)]);
}

qsizetype HitListModel::showable() const
{
    // A view counts rows in int; entries past that stay countable but are not shown.
    return std::min<qsizetype>(count(), std::numeric_limits<int>::max());
}

void HitListModel::pace_commits(int rows, int interval_ms)
{
    m_pace_rows = rows;
    m_pace_ms = interval_ms;
}

void HitListModel::commit_if_due()
{
    if (m_shown >= showable())
        return;
    if (m_shown < m_pace_rows || !m_committed.isValid() || m_committed.elapsed() >= m_pace_ms)
        commit();
}

void HitListModel::queued_commit()
{
    m_commit_queued = false;
    commit_if_due();
    if (m_shown < showable() && !m_commit_queued) {
        // Not due yet: comes back when it is.
        m_commit_queued = true;
        const qint64 wait = std::max<qint64>(0, m_pace_ms - m_committed.elapsed());
        QTimer::singleShot(std::chrono::milliseconds(wait), this, &HitListModel::queued_commit);
    }
}

void HitListModel::commit()
{
    if (m_shown == count())
        return;
    const qsizetype last = showable();
    if (last <= m_shown)
        return;
    beginInsertRows({}, int(m_shown), int(last - 1));
    m_shown = last;
    endInsertRows();
    m_committed.start();
}

int HitListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_shown);
}

QVariant HitListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_shown)
        return {};
    if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole)
        return text_at(index.row());
    return {};
}

}  // namespace search
