#include "form1.h"

#include "file_path.h"
#include "hit_entry.h"
#include "hit_list_model.h"
#include "list_controls.h"
#include "page_view.h"
#include "search.h"
#include "text_file.h"
#include "window_rules.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QIcon>
#include <QIconEngine>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScopeGuard>
#include <QTextCursor>
#include <algorithm>
#include <cmath>

namespace search {

namespace {

const QString file_pattern = QStringLiteral("*.txt;*.htm;*.doc;*.rtf");
const QString program_title = QStringLiteral("Vornilex");

// The design is in twips: 15 of them are one logical pixel.
constexpr double twips_per_pixel = 15.0;

int pixels(double twips)
{
    return int(std::lround(twips / twips_per_pixel));
}

QRect twips_rect(int left, int top, int width, int height)
{
    return {pixels(left), pixels(top), pixels(width), pixels(height)};
}

QFont gothic(double points)
{
    QFont font(QStringLiteral("ＭＳ Ｐゴシック"));
    font.setPointSizeF(points);
    font.setBold(true);
    return font;
}

// The box holds paragraphs, the view text CR LF lines: each CR LF before `offset`
// is one position of the box.
qsizetype box_position(const QString &view_text, qsizetype offset)
{
    qsizetype pairs = 0;
    for (qsizetype i = 0; i + 1 < offset && i + 1 < view_text.size(); ++i) {
        if (view_text[i] == u'\r' && view_text[i + 1] == u'\n')
            ++pairs;
    }
    return offset - pairs;
}

// A window icon whose images are read at its first use, not when the window is built:
// decoding all eight sizes took a tenth of the start-up, and a desktop that draws the
// icon in one size, or not at all, never needs the others. Any use reads them all, so
// the icon answers exactly as one built from the files at once.
class ReadAtFirstUse : public QIconEngine {
public:
    explicit ReadAtFirstUse(QStringList files) : m_files(std::move(files)) {}

    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        return icon().pixmap(size, mode, state);
    }
    QPixmap scaledPixmap(const QSize &size, QIcon::Mode mode, QIcon::State state, qreal scale) override
    {
        return icon().pixmap(size, scale, mode, state);
    }
    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override
    {
        icon().paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QSize actualSize(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        return icon().actualSize(size, mode, state);
    }
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override
    {
        return icon().availableSizes(mode, state);
    }
    QIconEngine *clone() const override { return new ReadAtFirstUse(*this); }
    QString key() const override { return QStringLiteral("ReadAtFirstUse"); }

private:
    QIcon &icon()
    {
        if (!m_read) {
            m_read = true;
            for (const QString &file : m_files)
                m_icon.addFile(file);
        }
        return m_icon;
    }

    QStringList m_files;   // image files of the one icon, each in its own size
    QIcon m_icon;          // read from m_files once m_read
    bool m_read = false;
};

// Where the window starts: the working directory, or the first drive's root when the
// working directory lies on no drive.
QString working_folder(const DriveMap &drives)
{
    if (const auto path = drives.to_drive_path(QFile::encodeName(QDir::currentPath())))
        return *path;
    const QList<QChar> letters = drives.letters();
    return QString(letters.isEmpty() ? QChar(u'C') : letters.first()) + QStringLiteral(":\\");
}

}  // namespace

Form1::Form1(DriveMap drives, QString program_folder, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                          | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
                          | Qt::WindowCloseButtonHint),
      m_drives(std::move(drives)),
      m_program_folder(std::move(program_folder)),
      m_ask(show_message_box)
{
    setObjectName(QStringLiteral("Form1"));
    setAccessibleDescription(QStringLiteral("Form1"));
    setWindowTitle(program_title);

    QStringList icon_files;
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const QString file = QStringLiteral(":/icons/vornilex-%1.png").arg(size);
        if (QFile::exists(file))
            icon_files.append(file);
    }
    if (!icon_files.isEmpty())
        setWindowIcon(QIcon(new ReadAtFirstUse(icon_files)));

    QPalette navy = palette();
    navy.setColor(QPalette::Window, QColor(0, 0, 128));
    setPalette(navy);
    setAutoFillBackground(true);

    build_controls();
    resize(pixels(6630), pixels(5745));
}

Form1::~Form1() = default;

void Form1::build_controls()
{
    const QString start = working_folder(m_drives);

    QPalette grey_face = palette();
    grey_face.setColor(QPalette::Button, QColor(224, 224, 224));
    grey_face.setColor(QPalette::ButtonText, Qt::black);
    const auto button = [&](const char *name, const QString &caption, QRect twips) {
        auto *b = new QPushButton(caption, this);
        b->setObjectName(QLatin1String(name));
        b->setAccessibleDescription(QLatin1String(name));
        b->setAccessibleName(caption);
        b->setPalette(grey_face);
        b->setAutoDefault(false);
        b->setGeometry(twips);
        return b;
    };
    QPalette white_text = palette();
    white_text.setColor(QPalette::WindowText, Qt::white);
    const auto label = [&](const char *name, const QString &caption, QRect twips) {
        auto *l = new QLabel(caption, this);
        l->setObjectName(QLatin1String(name));
        // No accessible name: it would hide the label's live text from the bus.
        l->setAccessibleDescription(QLatin1String(name));
        l->setPalette(white_text);
        l->setAutoFillBackground(false);
        l->setFont(gothic(11.25));
        l->setGeometry(twips);
        return l;
    };
    const auto named = [](QWidget *w, const char *name, const QString &spoken, QRect twips) {
        w->setObjectName(QLatin1String(name));
        w->setAccessibleDescription(QLatin1String(name));
        w->setAccessibleName(spoken);
        w->setGeometry(twips);
    };

    // Created in tab order.
    m_drive1 = new DriveList(m_drives, start[0], this);
    named(m_drive1, "Drive1", QStringLiteral("ドライブ"), twips_rect(240, 120, 1695, 300));
    m_file1 = new FileList(m_drives, start, this);
    named(m_file1, "File1", QStringLiteral("ファイル一覧"), twips_rect(240, 1920, 1695, 2250));
    m_dir1 = new DirList(m_drives, start, this);
    named(m_dir1, "Dir1", QStringLiteral("フォルダ一覧"), twips_rect(240, 480, 1695, 1350));
    m_text1 = new QLineEdit(this);
    named(m_text1, "Text1", QStringLiteral("検索語句"), twips_rect(3360, 360, 2895, 375));
    m_command1 = button("Command1", QStringLiteral("検索"), twips_rect(2400, 1080, 735, 495));
    m_command3 = button("Command3", QStringLiteral("フォルダ検索"), twips_rect(3240, 1080, 1215, 495));
    m_command4 = button("Command4", QStringLiteral("終了"), twips_rect(5400, 1080, 735, 495));
    m_label1 = label("Label1", QStringLiteral("検索語句"), twips_rect(2280, 440, 975, 405));
    m_hits = new HitListModel(this);
    m_list1 = new HitListView(this);
    m_list1->setModel(m_hits);
    named(m_list1, "List1", QStringLiteral("ヒット一覧"), twips_rect(2160, 1800, 4335, 2040));
    m_text2 = new QPlainTextEdit(this);
    named(m_text2, "Text2", QStringLiteral("表示内容"), twips_rect(240, 4320, 6255, 1215));
    m_text2->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // The view is read by eye; Tab moves on to the controls after it.
    m_text2->setTabChangesFocus(true);
    // The jump selects the phrase while the focus stays in List1: keep it visible.
    QPalette selection = m_text2->palette();
    selection.setColor(QPalette::Inactive, QPalette::Highlight,
                       selection.color(QPalette::Active, QPalette::Highlight));
    selection.setColor(QPalette::Inactive, QPalette::HighlightedText,
                       selection.color(QPalette::Active, QPalette::HighlightedText));
    m_text2->setPalette(selection);
    m_command2 = button("Command2", QStringLiteral("削除"), twips_rect(4560, 1080, 735, 495));
    m_command5 = button("Command5", QStringLiteral("▲"), twips_rect(2280, 3960, 495, 375));
    m_command6 = button("Command6", QStringLiteral("▼"), twips_rect(2880, 3960, 495, 375));
    m_label2 = label("Label2", QString(), twips_rect(3600, 3960, 975, 405));
    m_text3 = new QLineEdit(this);
    named(m_text3, "Text3", QStringLiteral("行番号"), twips_rect(4200, 3960, 615, 270));
    m_text3->setFont(gothic(9));
    m_text3->installEventFilter(this);

    const QList<QWidget *> tab_order{m_drive1, m_file1, m_dir1, m_text1, m_command1, m_command3,
                                     m_command4, m_list1, m_text2, m_command2, m_command5,
                                     m_command6, m_text3};
    for (qsizetype i = 0; i + 1 < tab_order.size(); ++i)
        setTabOrder(tab_order[i], tab_order[i + 1]);
    m_drive1->setFocus();

    connect(m_drive1, &DriveList::changed, this, &Form1::drive_change);
    connect(m_dir1, &DirList::changed, this, &Form1::folder_change);
    connect(m_file1, &FileList::clicked_file, this, &Form1::first_page);
    connect(m_list1, &HitListView::clicked_entry, this, &Form1::list1_click);
    connect(m_command1, &QPushButton::clicked, this, &Form1::command1_click);
    connect(m_command2, &QPushButton::clicked, this, &Form1::delete_selected);
    connect(m_command3, &QPushButton::clicked, this, &Form1::command3_click);
    connect(m_command4, &QPushButton::clicked, this, &Form1::end);
    connect(m_command5, &QPushButton::clicked, this, &Form1::line_up);
    connect(m_command6, &QPushButton::clicked, this, &Form1::line_down);

    m_drive_folders.insert(start[0].toUpper(), m_dir1->path());
}

void Form1::set_message_handler(MessageHandler handler)
{
    m_ask = handler ? std::move(handler) : MessageHandler(show_message_box);
}

// ---- Start-up, the lists, resize, delete, end ----

void Form1::start_up()
{
    const QPointer<Form1> self(this);
    m_file1->set_pattern(file_pattern);
    const StartFolders starts = start_folders(m_program_folder);
    // Opening the folder runs the folder change, and with it the first page, in here.
    m_dir1->set_path(starts.directory_list);
    if (!self || m_closed)
        return;
    m_file1->set_path(starts.file_list);
}

void Form1::drive_change()
{
    const QChar letter = m_drive1->drive();
    const QString root = QString(letter) + QStringLiteral(":\\");
    const QString folder = m_drive_folders.value(letter, root);
    // A drive that cannot be read leaves the lists on the folder they show, and the
    // drive list on that folder's drive.
    if (!m_dir1->set_path(folder) && !m_dir1->set_path(root))
        m_drive1->restore_drive(m_dir1->path()[0]);
}

void Form1::folder_change()
{
    m_drive_folders.insert(m_dir1->path()[0], m_dir1->path());
    m_file1->set_path(m_dir1->path());
    // Selecting the first name runs the first page in here; an empty list selects none.
    m_file1->set_selected(0);
}

void Form1::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    follow_window_size();
}

void Form1::moveEvent(QMoveEvent *event)
{
    QWidget::moveEvent(event);
    // A window manager frames the window after it is shown, and moves rather than resizes
    // it: the outer size has only then its frame.
    follow_window_size();
}

void Form1::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    // Restoring a minimized window sizes the view box again.
    if (event->type() == QEvent::WindowStateChange)
        follow_window_size();
}

void Form1::follow_window_size()
{
    if (isMinimized())
        return;
    const QSize outer = frameGeometry().size();
    resize_view_box(float(outer.width() * twips_per_pixel), float(outer.height() * twips_per_pixel));
}

void Form1::resize_view_box(float outer_width, float outer_height)
{
    const auto [width, height] = view_box_size(outer_width, outer_height);
    // A window too small for the box leaves it no size rather than a negative one.
    const int w = std::max(0, pixels(width));
    const int h = std::max(0, pixels(height));
    m_text2->resize(w, m_text2->height());
    m_text2->resize(w, h);
}

void Form1::delete_selected()
{
    const QPointer<Form1> self(this);
    // The file confirmed is the one selected when the question is asked.
    const QString path = join_path(m_dir1->path(), m_file1->selected_name());
    const MessageAnswer answer =
        ask({QStringLiteral("削除しますか？"), QStringLiteral("ファイルの削除"), true});
    if (!self || m_closed || answer != MessageAnswer::Ok)
        return;
    delete_file(m_drives, path);
    m_file1->refresh();
}

void Form1::end()
{
    close();
    QCoreApplication::quit();
}

void Form1::closeEvent(QCloseEvent *event)
{
    m_closed = true;
    event->accept();
}

// ---- The searches ----

void Form1::command1_click()
{
    m_text2->clear();
    m_hits->clear();
    const QString phrase = m_text1->text();
    if (phrase.isEmpty()) {
        enable_search_buttons(true);
        return;
    }
    const QString name = m_file1->selected_name();
    const FileSearchResult result = search_file(m_drives, m_dir1->path(), name, phrase,
                                                [&](qint64 line) { m_hits->append(name, line); });
    if (result.not_found)
        ask({QStringLiteral("見つかりません"), program_title});
}

void Form1::command3_click()
{
    const QPointer<Form1> self(this);
    const auto gone = [&] { return !self || m_closed; };
    m_command1->setEnabled(false);
    m_command3->setEnabled(false);
    m_command4->setEnabled(false);
    m_hits->clear();
    if (m_text1->text().isEmpty()) {
        enable_search_buttons(true);
        return;
    }
    // Telling List1 of new entries after every file cost more than searching a 1 MiB
    // file: the entries it can show without scrolling reach it at once, the rest once a
    // frame. Every way out shows them all.
    const int rows_in_sight = m_list1->viewport()->height() / std::max(1, m_list1->fontMetrics().height()) + 1;
    m_hits->pace_commits(rows_in_sight, 16);
    const auto show_all = qScopeGuard([self] {
        if (self) {
            self->m_hits->pace_commits(0, 0);
            self->m_hits->commit();
        }
    });
    // The positions are counted once; the list may change while the run goes on.
    const qsizetype positions = m_file1->count();
    for (qsizetype i = 0; i < positions; ++i) {
        if (!pump())
            return;
        const QString folder = m_dir1->path();
        const QString name = m_file1->name_at(i);
        const QString phrase = m_text1->text();
        // A position the refilled list no longer has names no file.
        if (!name.isEmpty())
            search_file(m_drives, folder, name, phrase, [&](qint64 line) { m_hits->append(name, line); });
        if (i == m_file1->count() - 1 && m_hits->count() == 0) {
            ask({QStringLiteral("見つかりません"), program_title});
            if (gone())
                return;
            enable_search_buttons(true);
            return;
        }
    }
    ask({QStringLiteral("検索を終了しました"), program_title});
    if (gone())
        return;
    enable_search_buttons(true);
}

void Form1::enable_search_buttons(bool enabled)
{
    m_command1->setEnabled(enabled);
    m_command3->setEnabled(enabled);
    m_command4->setEnabled(enabled);
}

// ---- The page view ----

void Form1::first_page()
{
    m_flglist = 0;
    m_text2->clear();
    if (!pump())
        return;
    const QString path = page_path(0, m_dir1->path(), m_file1->selected_name(), QString());
    show_view(read_window(m_drives, path, 1, 31, 30).text);
    m_label2->setText(QStringLiteral("1"));
}

void Form1::line_up()
{
    m_text2->clear();
    if (!pump())
        return;
    const QString caption = m_label2->text();
    const std::optional<double> top = top_line(caption);
    const double t = top.value_or(0);
    const QString path = shown_file_path();
    show_view(read_window(m_drives, path, t - 1, t + 9, t + 10).text);
    if (top && t > 1)
        m_label2->setText(format_number(caption_value(caption).value_or(t) - 1));
}

void Form1::line_down()
{
    m_text2->clear();
    if (!pump())
        return;
    const QString caption = m_label2->text();
    const std::optional<double> top = top_line(caption);
    const double t = top.value_or(0);
    const QString path = shown_file_path();
    const PageWindow window = read_window(m_drives, path, t + 1, t + 11, t + 10);
    show_view(window.text);
    if (top && t < double(window.count))
        m_label2->setText(format_number(caption_value(caption).value_or(t) + 1));
}

void Form1::go_to_line()
{
    m_text2->clear();
    if (!pump())
        return;
    const double n = leading_number(m_text3->text());
    const QString path = shown_file_path();
    show_view(read_window(m_drives, path, n, n + 10, n + 10).text);
    m_label2->setText(format_number(n));
}

bool Form1::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_text3 && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            // The Enter key is used up here, so the box keeps its text as typed.
            go_to_line();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void Form1::list1_click()
{
    m_flglist = 1;
    m_text2->clear();
    if (!pump())
        return;
    const QString entry = list1_selected_text();
    const std::optional<HitEntryParts> hit = parse_hit_entry(entry);
    // Only hit entries are ever listed; anything else shows nothing.
    if (!hit)
        return;
    const double k = double(hit->line);
    m_label2->setText(QString::number(hit->line));
    const QString path = page_path(1, m_dir1->path(), QString(), entry);
    const QString view_text = read_window(m_drives, path, k, k + 10, k + 10).text;
    show_view(view_text);
    if (const std::optional<Selection> found = find_phrase(view_text, m_text1->text())) {
        QTextCursor cursor(m_text2->document());
        cursor.setPosition(int(box_position(view_text, found->start)));
        cursor.setPosition(int(box_position(view_text, found->start + found->length)),
                           QTextCursor::KeepAnchor);
        m_text2->setTextCursor(cursor);
    }
}

void Form1::show_view(const QString &view_text)
{
    m_text2->setPlainText(view_text);
}

// The file the page view moves in: the file list's selection or the selected hit entry's
// name, whichever flglist names, in the folder Dir1 shows now.
QString Form1::shown_file_path() const
{
    return page_path(m_flglist, m_dir1->path(), m_file1->selected_name(), list1_selected_text());
}

QString Form1::list1_selected_text() const
{
    return m_hits->text_at(m_list1->selected_row());
}

// ---- Pumping and asking ----

bool Form1::pump()
{
    const QPointer<Form1> self(this);
    // The entries found so far are shown while events run (paced during a folder search).
    m_hits->commit_if_due();
    QCoreApplication::processEvents();
    return self && !self->m_closed;
}

MessageAnswer Form1::ask(const MessageRequest &request)
{
    m_hits->commit();
    // A copy: the handler may replace itself, or the window may go, while it asks.
    const MessageHandler handler = m_ask;
    return handler(this, request);
}

}  // namespace search
