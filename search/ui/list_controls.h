#pragma once
// The search window's own list controls: the drive list (Drive1), the directory list
// (Dir1), the file list (File1) and the hit list's view (List1).
//
// They behave as a Windows-style desktop's lists do: setting a drive, a path or a
// selection from the program raises the control's change or click at once, nested in
// the call that set it, exactly as the user's action does. Paths are in the
// drive-letter model (DriveMap); listing goes through folder_listing.
#include "drive_map.h"

#include <QComboBox>
#include <QListView>
#include <QListWidget>
#include <QString>
#include <optional>

namespace search {

// "c:\a\\.\b\..\c\" -> "C:\a\c": upper-case letter, a run of backslashes read as one,
// "." and ".." taken away as a desktop's path functions do, no trailing backslash but
// at the root ("C:\"). Nothing when the text does not start with a letter and a colon.
std::optional<QString> normal_folder_path(const QString &path);

// Drive1: a combo of the drive letters, shown as "c:".
class DriveList : public QComboBox {
    Q_OBJECT
public:
    DriveList(const DriveMap &drives, QChar current, QWidget *parent = nullptr);

    QChar drive() const { return m_drive; }
    // Makes `letter` the drive; raises changed() at once when it differs from the last.
    void set_drive(QChar letter);
    // Shows `letter` again without raising changed(): a drive change that could not be
    // followed puts the list back on the drive the directory list is on.
    void restore_drive(QChar letter);

signals:
    void changed();

private:
    void pick(int index);
    QChar m_drive;
};

// Dir1: the folder's ancestors from the drive's root down, the folder itself, and its
// subfolders, indented by depth. A double-click (or Enter) on an entry opens that folder.
class DirList : public QListWidget {
    Q_OBJECT
public:
    DirList(const DriveMap &drives, const QString &start, QWidget *parent = nullptr);

    // "C:\" at a root, else without a trailing backslash.
    QString path() const { return m_path; }
    // Opens the folder: false (and nothing changes) when it does not exist. Raises
    // changed() at once when the path differs from the last one; the same path only
    // reads the subfolders again.
    bool set_path(const QString &path);

signals:
    void changed();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    void refill();
    void open_row(int row);
    const DriveMap *m_drives;
    QString m_path;
};

// File1: the names of the folder's files that match the pattern, without their folder.
class FileList : public QListWidget {
    Q_OBJECT
public:
    FileList(const DriveMap &drives, const QString &start, QWidget *parent = nullptr);

    QString pattern() const { return m_pattern; }
    void set_pattern(const QString &pattern);   // reads the folder again
    QString path() const { return m_path; }
    // Shows the folder's files: false (and nothing changes) when it does not exist.
    // Another folder starts without a selection; the same folder keeps the selected
    // name when it is still there.
    bool set_path(const QString &path);
    // Reads the folder again, keeping the selected name when it is still there.
    void refresh();

    // The name at `row`, empty when the list has no such row.
    QString name_at(qsizetype row) const;
    // The selected name, empty when none is selected.
    QString selected_name() const;
    // Selects `row` and raises clicked_file() at once, as the user's click does.
    void set_selected(int row);

signals:
    void clicked_file();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void refill(const QString &keep);
    const DriveMap *m_drives;
    QString m_path;
    QString m_pattern = QStringLiteral("*");
};

// List1's view: raises clicked_entry() whenever the user selects an entry, with the mouse or
// the arrow keys (also a click on the entry already selected).
class HitListView : public QListView {
    Q_OBJECT
public:
    explicit HitListView(QWidget *parent = nullptr);
    // The selected row, -1 when none.
    int selected_row() const;

signals:
    void clicked_entry();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
};

}  // namespace search
