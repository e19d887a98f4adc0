#include "hit_list_model.h"

#include "hit_entry.h"

#include <QMetaObject>
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
        QMetaObject::invokeMethod(this, &HitListModel::commit, Qt::QueuedConnection);
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

void HitListModel::commit()
{
    m_commit_queued = false;
    if (m_shown == count())
        return;
    // A view counts rows in int; entries past that stay countable but are not shown.
    const qsizetype last = std::min<qsizetype>(count(), std::numeric_limits<int>::max());
    if (last <= m_shown)
        return;
    beginInsertRows({}, int(m_shown), int(last - 1));
    m_shown = last;
    endInsertRows();
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
