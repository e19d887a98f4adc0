#pragma once
// Vornilex's window. Each slot reads its controls, calls one operation of search/core or
// search/platform, and writes the results back:
//   start_up, drive_change, folder_change  -> start_folders, DirList/FileList (folder_listing)
//   resize                                 -> view_box_size
//   delete_selected                        -> join_path, delete_file
//   command1_click                         -> search_file, make_hit_entry (HitListModel)
//   command3_click                         -> search_file per position of File1
//   first_page, line_up, line_down, go_to_line -> page_path, read_window, top_line,
//                                             caption_value, leading_number, format_number
//   list1_click                            -> parse_hit_entry, page_path, read_window, find_phrase
//
// Pending events run only at the points the operations name (pump()); a handler that
// pumps stops at once when the window has gone meanwhile.
#include "drive_map.h"
#include "message_box.h"

#include <QHash>
#include <QString>
#include <QWidget>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace search {

class DirList;
class DriveList;
class FileList;
class HitListModel;
class HitListView;

class Form1 : public QWidget {
    Q_OBJECT
public:
    // `program_folder` is the folder that holds the program, in the drive-letter model
    // ("C:\Tools"), from which start-up takes its start folder.
    Form1(DriveMap drives, QString program_folder, QWidget *parent = nullptr);
    ~Form1() override;

    // The window's load: the file pattern and the start folder, before it is first shown.
    void start_up();

    // Replaces how the window asks its questions (the default shows a modal box).
    void set_message_handler(MessageHandler handler);

    // Where the page view's file comes from: 0 File1's selection, 1 List1's entry.
    qint16 flglist() const { return m_flglist; }
    HitListModel *hit_list() const { return m_hits; }

    // The resize with the window's outer size in twips (frame and title bar included).
    void resize_view_box(float outer_width, float outer_height);

protected:
    void resizeEvent(QResizeEvent *event) override;
    void moveEvent(QMoveEvent *event) override;
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void build_controls();
    void follow_window_size();

    void drive_change();
    void folder_change();
    void delete_selected();
    void end();
    void command1_click();
    void command3_click();
    void first_page();
    void line_up();
    void line_down();
    void go_to_line();
    void list1_click();

    // Lets pending events run once. False when the window was closed or destroyed
    // meanwhile: the caller then returns at once, touching nothing of the window.
    [[nodiscard]] bool pump();
    MessageAnswer ask(const MessageRequest &request);
    void enable_search_buttons(bool enabled);
    QString list1_selected_text() const;
    QString shown_file_path() const;
    void show_view(const QString &view_text);

    DriveMap m_drives;
    QString m_program_folder;
    MessageHandler m_ask;
    qint16 m_flglist = 0;   // the page view's source, 0 or 1
    bool m_closed = false;  // the window has been closed: running operations stop
    QHash<QChar, QString> m_drive_folders;   // each drive's current folder, as a desktop keeps it

    DriveList *m_drive1 = nullptr;
    FileList *m_file1 = nullptr;
    DirList *m_dir1 = nullptr;
    QLineEdit *m_text1 = nullptr;
    QPushButton *m_command1 = nullptr;
    QPushButton *m_command3 = nullptr;
    QPushButton *m_command4 = nullptr;
    QLabel *m_label1 = nullptr;
    HitListView *m_list1 = nullptr;
    HitListModel *m_hits = nullptr;
    QPlainTextEdit *m_text2 = nullptr;
    QPushButton *m_command2 = nullptr;
    QPushButton *m_command5 = nullptr;
    QPushButton *m_command6 = nullptr;
    QLabel *m_label2 = nullptr;
    QLineEdit *m_text3 = nullptr;
};

}  // namespace search
