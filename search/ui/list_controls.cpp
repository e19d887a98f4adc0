#include "list_controls.h"

#include "folder_listing.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyle>
#include <QStyledItemDelegate>

namespace search {

namespace {

constexpr int depth_role = Qt::UserRole + 1;
constexpr int path_role = Qt::UserRole + 2;

// Indents each entry of the directory list by its depth below the drive's root.
class DepthDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override
    {
        QStyleOptionViewItem indented = option;
        indented.rect.adjust(indent(index), 0, 0, 0);
        QStyledItemDelegate::paint(painter, indented, index);
    }

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        return QStyledItemDelegate::sizeHint(option, index) + QSize(indent(index), 0);
    }

private:
    static int indent(const QModelIndex &index) { return 8 * index.data(depth_role).toInt(); }
};

QString drive_root(QChar letter)
{
    return QString(letter) + QStringLiteral(":\\");
}

}  // namespace

std::optional<QString> normal_folder_path(const QString &path)
{
    if (path.size() < 2 || path[1] != u':' || !path[0].isLetter() || path[0].unicode() > 0x7F)
        return std::nullopt;
    QStringList names;
    for (const QString &name : path.mid(2).split(u'\\', Qt::SkipEmptyParts)) {
        if (name == u".")
            continue;
        if (name == u"..") {
            if (!names.isEmpty())
                names.removeLast();
            continue;
        }
        names.append(name);
    }
    return drive_root(path[0].toUpper()) + names.join(u'\\');
}

// ---- Drive1 ----

DriveList::DriveList(const DriveMap &drives, QChar current, QWidget *parent)
    : QComboBox(parent), m_drive(current.toUpper())
{
    for (QChar letter : drives.letters())
        addItem(QString(letter.toLower()) + u':', QVariant::fromValue(letter));
    restore_drive(m_drive);
    // Every way the user picks a drive (the list, arrow keys, the wheel) moves the index.
    connect(this, &QComboBox::currentIndexChanged, this, &DriveList::pick);
}

void DriveList::set_drive(QChar letter)
{
    letter = letter.toUpper();
    const int index = findData(QVariant::fromValue(letter));
    if (index < 0)
        return;
    const bool changes = letter != m_drive;
    // The drive is taken before the combo moves, so the index change it reports back
    // (pick) finds nothing new.
    m_drive = letter;
    setCurrentIndex(index);
    if (changes)
        emit changed();
}

void DriveList::restore_drive(QChar letter)
{
    letter = letter.toUpper();
    const int index = findData(QVariant::fromValue(letter));
    if (index < 0)
        return;
    m_drive = letter;
    setCurrentIndex(index);
}

void DriveList::pick(int index)
{
    set_drive(itemData(index).value<QChar>());
}

// ---- Dir1 ----

DirList::DirList(const DriveMap &drives, const QString &start, QWidget *parent)
    : QListWidget(parent), m_drives(&drives), m_path(normal_folder_path(start).value_or(start))
{
    setSelectionMode(QAbstractItemView::SingleSelection);
    setItemDelegate(new DepthDelegate(this));
    refill();
}

bool DirList::set_path(const QString &path)
{
    const std::optional<QString> normal = normal_folder_path(path);
    if (!normal || !folder_exists(*m_drives, *normal))
        return false;
    const bool moved = *normal != m_path;
    m_path = *normal;
    refill();
    if (moved)
        emit changed();
    return true;
}

void DirList::refill()
{
    clear();
    const QIcon open_icon = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closed_icon = style()->standardIcon(QStyle::SP_DirClosedIcon);
    const auto add = [this](const QString &text, const QString &path, int depth, const QIcon &icon) {
        auto *item = new QListWidgetItem(icon, text, this);
        item->setData(depth_role, depth);
        item->setData(path_role, path);
    };

    // The root, each ancestor, then the folder itself: all drawn as open folders.
    const QString root = m_path.left(3);
    add(QString(root[0].toLower()) + QStringLiteral(":\\"), root, 0, open_icon);
    const QStringList names = m_path.mid(3).split(u'\\', Qt::SkipEmptyParts);
    QString walked = root;
    for (int i = 0; i < names.size(); ++i) {
        walked = i == 0 ? root + names[i] : walked + u'\\' + names[i];
        add(names[i], walked, i + 1, open_icon);
    }
    const int current = count() - 1;
    const QString prefix = names.isEmpty() ? root : m_path + u'\\';
    for (const QString &sub : list_subfolders(*m_drives, m_path))
        add(sub, prefix + sub, int(names.size()) + 1, closed_icon);
    setCurrentRow(current);
}

void DirList::open_row(int row)
{
    if (const QListWidgetItem *entry = item(row))
        set_path(entry->data(path_role).toString());
}

void DirList::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        open_row(currentRow());
        return;
    }
    QListWidget::keyPressEvent(event);
}

void DirList::mouseDoubleClickEvent(QMouseEvent *event)
{
    // Opened here rather than from the view's signal: opening refills the list (and
    // may let events run), so nothing of the old entries is touched afterwards.
    if (event->button() != Qt::LeftButton)
        return;
    const QModelIndex index = indexAt(event->position().toPoint());
    if (index.isValid())
        open_row(index.row());
}

// ---- File1 ----

FileList::FileList(const DriveMap &drives, const QString &start, QWidget *parent)
    : QListWidget(parent), m_drives(&drives), m_path(normal_folder_path(start).value_or(start))
{
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformItemSizes(true);
    refill({});
}

void FileList::set_pattern(const QString &pattern)
{
    m_pattern = pattern;
    refill({});
}

bool FileList::set_path(const QString &path)
{
    const std::optional<QString> normal = normal_folder_path(path);
    if (!normal || !folder_exists(*m_drives, *normal))
        return false;
    const QString keep = *normal == m_path ? selected_name() : QString();
    m_path = *normal;
    refill(keep);
    return true;
}

void FileList::refresh()
{
    refill(selected_name());
}

void FileList::refill(const QString &keep)
{
    clear();
    addItems(list_files(*m_drives, m_path, m_pattern));
    if (keep.isEmpty())
        return;
    const QList<QListWidgetItem *> found = findItems(keep, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (!found.isEmpty())
        setCurrentItem(found.first());
}

QString FileList::name_at(qsizetype row) const
{
    if (row < 0 || row >= count())
        return {};
    return item(int(row))->text();
}

QString FileList::selected_name() const
{
    const QList<QListWidgetItem *> selected = selectedItems();
    return selected.isEmpty() ? QString() : selected.first()->text();
}

void FileList::set_selected(int row)
{
    if (row < 0 || row >= count())
        return;
    setCurrentRow(row);
    emit clicked_file();
}

void FileList::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    QListWidget::mousePressEvent(event);
    if (itemAt(event->position().toPoint()))
        emit clicked_file();
}

void FileList::mouseMoveEvent(QMouseEvent *event)
{
    const int before = currentRow();
    QListWidget::mouseMoveEvent(event);
    if (currentRow() != before && currentRow() >= 0)
        emit clicked_file();
}

void FileList::keyPressEvent(QKeyEvent *event)
{
    // A key selects a file when it moves the selection or selects the current row
    // (Space on the first file, which Tab makes current without selecting it).
    const auto selected_row = [this] {
        const QList<QListWidgetItem *> selected = selectedItems();
        return selected.isEmpty() ? -1 : row(selected.first());
    };
    const int before = selected_row();
    QListWidget::keyPressEvent(event);
    const int after = selected_row();
    if (after >= 0 && after != before)
        emit clicked_file();
}

// ---- List1 ----

HitListView::HitListView(QWidget *parent) : QListView(parent)
{
    setSelectionMode(QAbstractItemView::SingleSelection);
    // Millions of entries: one row height for all, and no per-row measuring.
    setUniformItemSizes(true);
    setLayoutMode(QListView::Batched);
    setBatchSize(4096);
}

int HitListView::selected_row() const
{
    if (!selectionModel())
        return -1;
    const QModelIndexList rows = selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void HitListView::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    QListView::mousePressEvent(event);
    if (indexAt(event->position().toPoint()).isValid())
        emit clicked_entry();
}

void HitListView::mouseMoveEvent(QMouseEvent *event)
{
    const QModelIndex before = currentIndex();
    QListView::mouseMoveEvent(event);
    if (currentIndex() != before && currentIndex().isValid())
        emit clicked_entry();
}

void HitListView::keyPressEvent(QKeyEvent *event)
{
    const QModelIndex before = currentIndex();
    QListView::keyPressEvent(event);
    if (currentIndex() != before && selected_row() >= 0)
        emit clicked_entry();
}

}  // namespace search
